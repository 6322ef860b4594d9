#include "mdlGlobais.h"

#include <QDate>
#include <QDir>
#include <QStandardPaths>

namespace globais {

QString ObterVersao(int maior, int menor)
{
    const QString digitos = QString::number(menor);
    QString texto = QString::number(maior) + u'.' + digitos.left(2);
    if (digitos.size() > 2)
        texto += QChar(96 + digitos.at(2).digitValue());
    return texto;
}

int Revisao() { return QUARRIX_REVISAO; }

const QString& TituloAplicativo()
{
    static const QString titulo = QStringLiteral("Quarrix v") + ObterVersao();
    return titulo;
}

QString PastaTemporariaDoDia()
{
    return QDir::tempPath() + QStringLiteral("/TmpQuarrix") + QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
}

QString PastaDocumentosUsuario() { return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation); }

} // namespace globais
