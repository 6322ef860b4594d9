#include "clsPromptRoteiro.h"

QStringList clsPromptRoteiro::textos() const
{
    QStringList r;
    for (const auto& m : mensagens)
        r << m.texto;
    return r;
}

int clsPromptRoteiro::MsgBox(const QString& texto, int estilo, const QString& titulo)
{
    mensagens.append({texto, estilo, titulo});
    if (aoMostrar)
        aoMostrar(mensagens.last());
    return respostas.isEmpty() ? RespostaPadrao(estilo) : respostas.dequeue();
}

QString clsPromptRoteiro::InputBox(const QString& texto, const QString& titulo, const QString& padrao, bool* cancelado)
{
    mensagens.append({texto, -1, titulo});
    QString r = entradas.isEmpty() ? QString() : entradas.dequeue();
    if (cancelado)
        *cancelado = r.isNull();
    return r.isNull() ? padrao : r;
}

QString clsPromptRoteiro::ArquivoAbrir(const QString&, const QString&, const QString& filtro, int entrada)
{
    dialogosArquivo.append({QStringLiteral("abrir"), filtro});
    entradasFiltro.append(entrada);
    return arquivos.isEmpty() ? QString() : arquivos.dequeue();
}

QString clsPromptRoteiro::ArquivoSalvar(const QString&, const QString&, const QString& filtro, int entrada)
{
    dialogosArquivo.append({QStringLiteral("salvar"), filtro});
    entradasFiltro.append(entrada);
    return arquivos.isEmpty() ? QString() : arquivos.dequeue();
}

QString clsPromptRoteiro::ArquivoNovo(const QString&, const QString&, const QString& filtro, int entrada)
{
    dialogosArquivo.append({QStringLiteral("novo"), filtro});
    entradasFiltro.append(entrada);
    return arquivos.isEmpty() ? QString() : arquivos.dequeue();
}

int clsPromptRoteiro::ExibirModal(QObject* dialogo)
{
    if (dialogos.isEmpty())
        return 0;
    return dialogos.dequeue()(dialogo);
}

QString clsPromptRoteiro::PedirNome(const QString& inicial)
{
    nomesPedidos << inicial;
    const QString r = nomes.isEmpty() ? QString() : nomes.dequeue();
    return r.isNull() ? inicial : r;
}
