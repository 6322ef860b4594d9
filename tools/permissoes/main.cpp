// The permissions program: for a connection and a database user ("ConnString=…&UserName=…", from
// its environment or standard input, never its command line), a window with the user's permissions
// on the database's objects and its roles. With --sem-janela the lines of standard input after the
// argument are changes ("GRANT<tab>SELECT<tab>esquema<tab>objeto", "PAPEL+<tab>papel"…); the program
// prints the script it runs, runs it in one transaction and prints what the catalog holds then.
#include "admin/clsPermissoes.h"
#include "admin/frmPermissoes.h"
#include "connections/clsAmbienteDados.h"
#include "gui/PromptJanelas.h"
#include "gui/Traducoes.h"
#include "platform/mdlProgramas.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>

namespace {

const char* const Uso
    = "uso: quarrix-permissoes [--sem-janela]\n"
      "Le \"ConnString=...&UserName=...\" de QUARRIX_ARGUMENTO ou da primeira linha da entrada. Sem janela,\n"
      "as linhas seguintes sao alteracoes: GRANT|DENY|REVOKE, permissao, esquema, objeto [, argumentos]\n"
      "ou PAPEL+|PAPEL-, papel (separados por tabulacao).\n";

void Escrever(std::FILE* saida, const QString& texto)
{
    std::fputs(texto.toUtf8().constData(), saida);
    std::fputc('\n', saida);
}

int Falhar(const QString& erro)
{
    Escrever(stderr, erro);
    return 1;
}

int SemJanela()
{
    QStringList alteracoes;
    const QString argumento = LerArgumentoPrograma(&alteracoes);
    QString connStr, usuario, erro;
    if (!permissoes::LerArgumento(argumento, connStr, usuario, &erro)) {
        Escrever(stderr, erro);
        return 2;
    }
    clsAmbienteDados ambiente{std::unique_ptr<clsPrompt>()};
    std::unique_ptr<clsPermissoes> p = clsPermissoes::Abrir(ambiente, connStr, erro);
    permissoes::Quadro antes;
    if (!p || !p->Ler(usuario, antes, erro))
        return Falhar(erro);
    permissoes::Quadro depois = antes;
    for (const QString& linha : alteracoes)
        if (!linha.trimmed().isEmpty() && !permissoes::AplicarLinha(depois, linha, erro))
            return Falhar(erro);
    const QStringList instrucoes = permissoes::Instrucoes(antes, depois);
    if (!instrucoes.isEmpty()) {
        std::fputs(permissoes::Script(p->DialetoSql(), instrucoes).toUtf8().constData(), stdout);
        if (!p->Aplicar(instrucoes, erro))
            return Falhar(QStringLiteral("Nenhuma alteração foi feita.\n") + erro);
        if (!p->Ler(usuario, depois, erro))
            return Falhar(erro);
    }
    Escrever(stdout, QStringLiteral("-- ") + usuario + QStringLiteral(" em ") + p->Banco());
    for (const QString& l : permissoes::Listar(depois))
        Escrever(stdout, l);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    bool semJanela = false;
    if (!LerOpcoesPrograma(argc, argv, Uso, semJanela))
        return 2;
    if (semJanela) {
        QCoreApplication app(argc, argv);
        return SemJanela();
    }
    QApplication app(argc, argv);
    InstalarTraducoesQt();
    QString connStr, usuario, erro;
    if (!permissoes::LerArgumento(LerArgumentoPrograma(), connStr, usuario, &erro)) {
        QMessageBox::critical(nullptr, QStringLiteral("Permissões"), erro);
        return 2;
    }
    clsAmbienteDados ambiente{std::make_unique<PromptJanelas>()};
    frmPermissoes janela(ambiente);
    janela.CarregarForm(connStr, usuario);
    return QApplication::exec();
}
