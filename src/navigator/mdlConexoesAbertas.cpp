#include "mdlConexoesAbertas.h"

#include "navigator/clsAmbienteNavegador.h"
#include "navigator/clsArvore.h"
#include "navigator/mdlNavegador.h"

QString TextoEntradaConexao(const QString& servidor, const QString& banco, const QString& textoNo)
{
    if (!textoNo.isEmpty())
        return textoNo;
    if (banco.isEmpty())
        return servidor;
    return servidor + QStringLiteral(" / ") + banco;
}

EntradaConexao NovaEntradaConexao(const QString& connectionString,
                                  const QString& servidor,
                                  const QString& banco,
                                  const QString& textoNo)
{
    return {servidor, banco, connectionString, TextoEntradaConexao(servidor, banco, textoNo), textoNo};
}

namespace {

// The node and the siblings after it, each offered or descended into.
void PercorrerIrmaos(const clsNo* no, QList<EntradaConexao>& lista)
{
    for (; no; no = no->Next()) {
        switch (no->Image()) {
        case img::AccessConectado: lista << NovaEntradaConexao(no->Tag(), no->Text(), {}, {}); break;
        case img::BancoConectado:
            lista << NovaEntradaConexao(no->Tag(), no->Parent() ? no->Parent()->Text() : QString(), no->Text(), {});
            break;
        case img::Customizada: lista << NovaEntradaConexao(no->Tag(), {}, {}, no->Text()); break;
        case img::WebServiceConectado:
            lista << NovaEntradaConexao(no->Arvore().Dados().Ler(no->Key(), CampoNo::Endereco), {}, {}, no->Text());
            break;
        default:
            if (no->Children() > 0)
                PercorrerIrmaos(no->Child(), lista);
            break;
        }
    }
}

} // namespace

QList<EntradaConexao> CarregarConexoes(const clsArvore& arvore)
{
    QList<EntradaConexao> lista;
    if (!arvore.Raizes().isEmpty())
        PercorrerIrmaos(arvore.Raizes().first(), lista);
    return lista;
}
