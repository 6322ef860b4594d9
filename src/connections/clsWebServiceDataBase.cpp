#include "clsWebServiceDataBase.h"

namespace {
FabricaWebServiceData& Fabrica()
{
    static FabricaWebServiceData f;
    return f;
}
} // namespace

void DefinirFabricaWebServiceData(FabricaWebServiceData fabrica) { Fabrica() = std::move(fabrica); }

std::unique_ptr<clsWebServiceDataBase> CriarWebServiceData()
{
    return Fabrica() ? Fabrica()() : nullptr;
}
