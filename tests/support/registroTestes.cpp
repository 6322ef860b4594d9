#include "registroTestes.h"

namespace testes {
std::map<std::string, Fabrica>& Registro()
{
    static std::map<std::string, Fabrica> r;
    return r;
}
} // namespace testes
