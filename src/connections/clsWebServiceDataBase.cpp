#include "clsWebServiceDataBase.h"

#include "clsWebServiceData.h"

namespace {
// The program's own client, unless another factory was installed (a test double).
FabricaWebServiceData& Fabrica()
{
    static FabricaWebServiceData f = [] { return std::make_unique<clsWebServiceData>(); };
    return f;
}
} // namespace

void DefinirFabricaWebServiceData(FabricaWebServiceData fabrica) { Fabrica() = std::move(fabrica); }

std::unique_ptr<clsWebServiceDataBase> CriarWebServiceData()
{
    return Fabrica() ? Fabrica()() : nullptr;
}
