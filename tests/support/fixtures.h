#pragma once
// Small fixtures shared by the tests.
#include "platform/clsSettings.h"

#include <QTemporaryDir>

// A settings store of its own in a temporary folder for the lifetime of the object.
class SettingsTemporarios {
public:
    SettingsTemporarios() : anterior(settings::Arquivo())
    {
        settings::DefinirArquivo(pasta.filePath(QStringLiteral("Quarrix.ini")));
    }
    ~SettingsTemporarios() { settings::DefinirArquivo(anterior); }
    QString anterior;
    QTemporaryDir pasta;
};
