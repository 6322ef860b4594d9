#pragma once
// Saves a picture of a window into $QUARRIX_CAPTURAS (when set), for reviewing how it looks.
#include <QDir>
#include <QWidget>

inline void CapturarJanela(QWidget* janela, const QString& nome)
{
    const QString pasta = qEnvironmentVariable("QUARRIX_CAPTURAS");
    if (pasta.isEmpty())
        return;
    QDir().mkpath(pasta);
    janela->grab().save(pasta + u'/' + nome + QStringLiteral(".png"));
}
