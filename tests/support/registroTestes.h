#pragma once
// Registry of test classes, so one executable per folder can run each class as its own CTest entry.
#include <QObject>
#include <functional>
#include <map>
#include <memory>
#include <string>

namespace testes {
using Fabrica = std::function<std::unique_ptr<QObject>()>;
std::map<std::string, Fabrica>& Registro();

struct Registrar {
    Registrar(const char* nome, Fabrica f) { Registro()[nome] = std::move(f); }
};
} // namespace testes

#define QUARRIX_TESTE(Classe)                                                                                          \
    static testes::Registrar registrar_##Classe(#Classe, [] { return std::make_unique<Classe>(); })
