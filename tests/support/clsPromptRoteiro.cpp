#include "clsPromptRoteiro.h"

QStringList clsPromptRoteiro::textos() const
{
    QStringList r;
    for (const auto& m : mensagens)
        r << m.texto;
    return r;
}

void clsPromptRoteiro::ExigirLinhaDasJanelas(const char* chamada)
{
    // A prompt reached from a worker thread is a fault of the program, whatever the test expects.
    if (!NaLinhaDasJanelas())
        qFatal("clsPrompt::%s called from a worker thread", chamada);
}

int clsPromptRoteiro::MsgBox(const QString& texto, int estilo, const QString& titulo)
{
    ExigirLinhaDasJanelas("MsgBox");
    mensagens.append({texto, estilo, titulo});
    if (aoMostrar)
        aoMostrar(mensagens.last());
    return respostas.isEmpty() ? RespostaPadrao(estilo) : respostas.dequeue();
}

QString clsPromptRoteiro::InputBox(const QString& texto, const QString& titulo, const QString& padrao, bool* cancelado)
{
    ExigirLinhaDasJanelas("InputBox");
    mensagens.append({texto, -1, titulo});
    QString r = entradas.isEmpty() ? QString() : entradas.dequeue();
    if (cancelado)
        *cancelado = r.isNull();
    return r.isNull() ? padrao : r;
}

QString clsPromptRoteiro::ArquivoAbrir(const QString&, const QString&, const QString& filtro, int entrada)
{
    ExigirLinhaDasJanelas("ArquivoAbrir");
    dialogosArquivo.append({QStringLiteral("abrir"), filtro});
    entradasFiltro.append(entrada);
    return arquivos.isEmpty() ? QString() : arquivos.dequeue();
}

QString clsPromptRoteiro::ArquivoSalvar(const QString&, const QString&, const QString& filtro, int entrada)
{
    ExigirLinhaDasJanelas("ArquivoSalvar");
    dialogosArquivo.append({QStringLiteral("salvar"), filtro});
    entradasFiltro.append(entrada);
    return arquivos.isEmpty() ? QString() : arquivos.dequeue();
}

QString clsPromptRoteiro::ArquivoNovo(const QString&, const QString&, const QString& filtro, int entrada)
{
    ExigirLinhaDasJanelas("ArquivoNovo");
    dialogosArquivo.append({QStringLiteral("novo"), filtro});
    entradasFiltro.append(entrada);
    return arquivos.isEmpty() ? QString() : arquivos.dequeue();
}

int clsPromptRoteiro::ExibirModal(QObject* dialogo)
{
    ExigirLinhaDasJanelas("ExibirModal");
    if (dialogos.isEmpty())
        return 0;
    return dialogos.dequeue()(dialogo);
}

QString clsPromptRoteiro::PedirNome(const QString& inicial)
{
    ExigirLinhaDasJanelas("PedirNome");
    nomesPedidos << inicial;
    const QString r = nomes.isEmpty() ? QString() : nomes.dequeue();
    return r.isNull() ? inicial : r;
}
