#pragma once
// The XML files kept under tests/webservice/fixtures.
#include <QFile>

inline QByteArray FixtureSoap(const char* nome)
{
    QFile f(QStringLiteral(QUARRIX_TESTS_DIR "/webservice/fixtures/") + QLatin1String(nome));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("fixture %s missing", nome);
    return f.readAll();
}
