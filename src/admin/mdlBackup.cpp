#include "mdlBackup.h"

#include "platform/mdlProcessos.h"

#include "connections/clsData.h"
#include "connections/clsSqlDmoSessao.h"
#include "platform/clsPrompt.h"
#include "platform/clsSettings.h"
#include "platform/mdlGlobais.h"
#include "platform/mdlProgramas.h"

#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

namespace backup {

namespace {
const QStringList Chaves = {
    QStringLiteral("ConnString"),
    QStringLiteral("DataBase"),
    QStringLiteral("Opcao"),
    QStringLiteral("ArqTipo"),
    QStringLiteral("ArqNome"),
    QStringLiteral("BackupName"),
    QStringLiteral("BackupDescription"),
    QStringLiteral("BackupOpcao"),
    QStringLiteral("BackupMetodo"),
    QStringLiteral("Replace"),
    QStringLiteral("DevBanco"),
    QStringLiteral("ArqBanco"),
    QStringLiteral("DevLog"),
    QStringLiteral("ArqLog"),
};

QString Par(const char* chave, const QString& valor) { return QString::fromLatin1(chave) + u'=' + valor; }

bool Recusar(QString* erro, const QString& motivo)
{
    if (erro)
        *erro = motivo;
    return false;
}
} // namespace

QString Montar(const Argumentos& a)
{
    QStringList p{Par("ConnString", a.connStr),
                  Par("DataBase", a.banco),
                  Par("Opcao", a.restaurar ? QStringLiteral("R") : QStringLiteral("B")),
                  Par("ArqTipo", a.dispositivo ? QStringLiteral("D") : QStringLiteral("F")),
                  Par("ArqNome", a.arquivo)};
    if (!a.restaurar) {
        if (!a.nome.trimmed().isEmpty())
            p << Par("BackupName", a.nome);
        if (!a.descricao.trimmed().isEmpty())
            p << Par("BackupDescription", a.descricao);
        p << Par("BackupOpcao", a.diferencial ? QStringLiteral("D") : QStringLiteral("C"));
        if (a.sobrescrever)
            p << Par("BackupMetodo", QStringLiteral("S"));
    } else if (a.substituir) {
        p << Par("Replace", QStringLiteral("1")) << Par("DevBanco", a.devBanco) << Par("ArqBanco", a.arqBanco)
          << Par("DevLog", a.devLog) << Par("ArqLog", a.arqLog);
    }
    return p.join(u'&');
}

bool Ler(const QString& texto, Argumentos& a, QString* erro)
{
    a = Argumentos();
    QHash<QString, QString> v;
    if (!SepararArgumento(texto, Chaves, v, erro))
        return false;
    for (const char* exigida : {"ConnString", "DataBase", "Opcao", "ArqTipo", "ArqNome"})
        if (v.value(QString::fromLatin1(exigida)).isEmpty())
            return Recusar(erro, QStringLiteral("Falta o argumento ") + QString::fromLatin1(exigida));
    const QString opcao = v.value(QStringLiteral("Opcao")), tipo = v.value(QStringLiteral("ArqTipo"));
    if (opcao != u"B" && opcao != u"R")
        return Recusar(erro, QStringLiteral("Opcao deve ser B ou R: ") + opcao);
    if (tipo != u"F" && tipo != u"D")
        return Recusar(erro, QStringLiteral("ArqTipo deve ser F ou D: ") + tipo);
    a.connStr = v.value(QStringLiteral("ConnString"));
    a.banco = v.value(QStringLiteral("DataBase"));
    a.restaurar = opcao == u"R";
    a.dispositivo = tipo == u"D";
    a.arquivo = v.value(QStringLiteral("ArqNome"));
    a.nome = v.value(QStringLiteral("BackupName"));
    a.descricao = v.value(QStringLiteral("BackupDescription"));
    a.diferencial = v.value(QStringLiteral("BackupOpcao")) == u"D";
    a.sobrescrever = v.value(QStringLiteral("BackupMetodo")) == u"S";
    a.substituir = v.value(QStringLiteral("Replace")) == u"1";
    a.devBanco = v.value(QStringLiteral("DevBanco"));
    a.arqBanco = v.value(QStringLiteral("ArqBanco"));
    a.devLog = v.value(QStringLiteral("DevLog"));
    a.arqLog = v.value(QStringLiteral("ArqLog"));
    return true;
}

QString Sql(const Argumentos& a)
{
    if (!a.restaurar) {
        tsql::PedidoBackup p;
        p.banco = a.banco;
        p.dispositivo = a.dispositivo;
        p.destino = a.arquivo;
        p.nome = a.nome;
        p.descricao = a.descricao;
        p.diferencial = a.diferencial;
        p.sobrescrever = a.sobrescrever;
        return tsql::SqlBackup(p);
    }
    tsql::PedidoRestore p;
    p.banco = a.banco;
    p.dispositivo = a.dispositivo;
    p.origem = a.arquivo;
    p.substituir = a.substituir;
    if (a.substituir) {
        if (!a.devBanco.isEmpty())
            p.mover.append({a.devBanco, a.arqBanco});
        if (!a.devLog.isEmpty())
            p.mover.append({a.devLog, a.arqLog});
    }
    return tsql::SqlRestore(p);
}

int PercentualDoAviso(const QString& aviso)
{
    // "N percent processed." (and the Portuguese server's "N por cento processados.").
    static const QRegularExpression re(QStringLiteral(R"(^\s*(\d{1,3})\s+(percent|por cento)\b)"),
                                       QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = re.match(aviso);
    if (!m.hasMatch())
        return -1;
    const int n = m.captured(1).toInt();
    return n <= 100 ? n : -1;
}

bool Executar(clsAmbienteDados& ambiente,
              const Argumentos& a,
              QString& erro,
              const std::function<void(int percentual, const QString& aviso)>& progresso)
{
    PecasSqlDmo pecas;
    ErroDados erroSessao;
    std::unique_ptr<clsSqlDmoSessao> sessao = ConectarSqlDmo(ambiente, a.connStr, erroSessao, &pecas);
    if (!sessao) {
        erro = QStringLiteral("Não foi possível conectar ao servidor ") + pecas.servidor + QStringLiteral(".\n")
               + erroSessao.descricao;
        return false;
    }
    const auto aviso = [&](const QString& texto) {
        if (progresso)
            progresso(PercentualDoAviso(texto), texto);
    };
    if (!sessao->EnviarTSqlComAvisos(Sql(a), aviso)) {
        erro = sessao->Erro().descricao;
        return false;
    }
    settings::SaveSetting(QStringLiteral("Backup"), a.banco, QStringLiteral("1"));
    return true;
}

void ExecutarPrograma(clsPrompt& prompt,
                      const QString& programa,
                      const QString& argumento,
                      const QString& banco,
                      QObject* contexto,
                      std::function<void(bool)> fim)
{
    // The program writes its result where this program reads its settings.
    processos::Executar(programa,
                        {},
                        argumento.toUtf8() + '\n',
                        contexto,
                        [&prompt, banco, fim = std::move(fim)](bool iniciado, const QString& erro) {
                            if (!iniciado) {
                                prompt.MsgBox(QStringLiteral("O programa de Backup não está disponível.") + u'\n'
                                                  + erro,
                                              vb::Critical,
                                              globais::TituloAplicativo());
                                return fim(false);
                            }
                            const QString secao = QStringLiteral("Backup");
                            const bool ok = settings::GetSetting(secao, banco, QStringLiteral("0")) == u"1";
                            if (settings::GetSetting(secao, banco, QStringLiteral("*-*-*-*")) != u"*-*-*-*")
                                settings::DeleteSetting(secao, banco);
                            fim(ok);
                        },
                        {{QStringLiteral("QUARRIX_SETTINGS"), settings::Arquivo()}});
}

} // namespace backup
