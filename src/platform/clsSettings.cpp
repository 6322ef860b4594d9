#include "clsSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace settings {
namespace {

QString& arquivoDefinido()
{
    static QString a;
    return a;
}

// QSettings reads "/" and "\\" as group separators; a login such as DOMAIN\\user must stay one key,
// so both travel as private-use characters that no name of the program contains.
constexpr char16_t BarraCodificada = 0xE02F;
constexpr char16_t ContraBarraCodificada = 0xE05C;

QString CodificarChave(QString chave)
{
    return chave.replace(u'/', QChar(BarraCodificada)).replace(u'\\', QChar(ContraBarraCodificada));
}

QString DecodificarChave(QString chave)
{
    return chave.replace(QChar(BarraCodificada), u'/').replace(QChar(ContraBarraCodificada), u'\\');
}

void Restringir(const QString& caminho) { QFile::setPermissions(caminho, QFile::ReadOwner | QFile::WriteOwner); }

void Gravar(QSettings& s)
{
    s.sync();
    Restringir(s.fileName());
}

QSettings Abrir()
{
    const QString caminho = Arquivo();
    QFileInfo info(caminho);
    QDir().mkpath(info.absolutePath());
    if (!info.exists()) {
        QFile f(caminho);
        if (f.open(QIODevice::WriteOnly))
            f.close();
    }
    Restringir(caminho);
    return QSettings(caminho, QSettings::IniFormat);
}

QString Caminho(const QString& secao, const QString& chave)
{
    return CodificarChave(secao) + u'/' + CodificarChave(chave);
}

} // namespace

// The companion programs started from here read and write the same store: the file chosen travels
// to them in the environment.
void DefinirArquivo(const QString& caminho)
{
    arquivoDefinido() = caminho;
    if (caminho.isEmpty())
        qunsetenv("QUARRIX_SETTINGS");
    else
        qputenv("QUARRIX_SETTINGS", caminho.toUtf8());
}

QString Arquivo()
{
    if (!arquivoDefinido().isEmpty())
        return arquivoDefinido();
    const QString herdado = qEnvironmentVariable("QUARRIX_SETTINGS");
    if (!herdado.isEmpty())
        return herdado;
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/Quarrix/Quarrix.ini");
}

QString GetSetting(const QString& secao, const QString& chave, const QString& padrao)
{
    QSettings s = Abrir();
    const QVariant v = s.value(Caminho(secao, chave));
    return v.isValid() ? v.toString() : padrao;
}

void SaveSetting(const QString& secao, const QString& chave, const QString& valor)
{
    QSettings s = Abrir();
    s.setValue(Caminho(secao, chave), valor);
    Gravar(s);
}

void DeleteSetting(const QString& secao, const QString& chave)
{
    QSettings s = Abrir();
    s.remove(Caminho(secao, chave));
    Gravar(s);
}

void DeleteSection(const QString& secao)
{
    QSettings s = Abrir();
    s.remove(CodificarChave(secao));
    Gravar(s);
}

QStringList Chaves(const QString& secao)
{
    QSettings s = Abrir();
    s.beginGroup(CodificarChave(secao));
    QStringList r;
    for (const QString& k : s.childKeys())
        r << DecodificarChave(k);
    return r;
}

} // namespace settings
