#include "mdlGlobais.h"

#include <QDate>
#include <QDir>
#include <QStandardPaths>

namespace globais {

bool VerificarDllsNaConexao = false;
bool CheckBeforeSql = false;
bool PassoPasso = false;
bool IntellisenseLista = false;
bool AbrirExecutando = false;
bool Focalizar = false;
bool GuardarConfig = false;
qint16 TimeOut = 0;

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

QString& PastaTemporaria()
{
    static QString pasta;
    return pasta;
}

QString& PastaDocumentos()
{
    static QString pasta;
    return pasta;
}

void InicializarPastas()
{
    PastaTemporaria() = QDir::tempPath() + QStringLiteral("/TmpQuarrix")
                        + QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
    PastaDocumentos() = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

} // namespace globais
