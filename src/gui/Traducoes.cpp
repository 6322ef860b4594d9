#include "Traducoes.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

QTranslator* InstalarTraducoesQt()
{
    auto* tradutor = new QTranslator(QCoreApplication::instance());
    if (!tradutor->load(QStringLiteral("qtbase_pt_BR"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        || !QCoreApplication::installTranslator(tradutor)) {
        delete tradutor;
        return nullptr;
    }
    return tradutor;
}
