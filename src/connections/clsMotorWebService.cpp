#include "clsMotorWebService.h"

#include "platform/mdlCitacao.h"

clsMotorWebService::clsMotorWebService(std::shared_ptr<clsWebServiceDataBase> c, bool servidor)
    : cliente(std::move(c)), sqlServer(servidor)
{
    Q_ASSERT(cliente);
    provider = QStringLiteral("WebService");
}

void clsMotorWebService::Interromper() { cliente->Interromper(); }

bool clsMotorWebService::NaoOferecido()
{
    return Falhar(ado::ErrOperacao,
                  QStringLiteral("Esta operação não está disponível em bancos de dados acessados via WebService."),
                  OrigemErro::Programa);
}

bool clsMotorWebService::FalharChamada()
{
    if (PararPedido())
        return FalharInterrompida();
    return Falhar(cliente->Erro());
}

// As the data access object does: the statement's rows when it has any; a statement the service
// does not answer with a data set runs again as a command, unless a data set came back and could
// not be rebuilt (then that is the answer).
bool clsMotorWebService::Executar(const QString& sql, RecordsetPtr* rs, int lockType, long* afetados)
{
    Q_UNUSED(lockType);
    if (afetados)
        *afetados = -1;
    if (rs)
        rs->reset();
    if (!Aberto())
        return FalharFechada();
    if (PararPedido())
        return FalharInterrompida();
    if (rs) {
        RecordsetPtr lido;
        if (cliente->OpenDataset(lido, sql)) {
            if (lido && lido->State() == ado::adStateOpen)
                *rs = lido;
            return true;
        }
        if (PararPedido() || cliente->Erro().origem == OrigemErro::DataSet)
            return FalharChamada();
    }
    if (cliente->ExecSql(sql))
        return true;
    return FalharChamada();
}

bool clsMotorWebService::ExecutarComParametros(const QString& sql,
                                               const std::vector<QVariant>& valores,
                                               long& afetados,
                                               RecordsetPtr* linhas)
{
    Q_UNUSED(sql);
    Q_UNUSED(valores);
    Q_UNUSED(linhas);
    afetados = -1;
    return NaoOferecido();
}

bool clsMotorWebService::Schema(SchemaOleDb schema, const QStringList& restricoes, RecordsetPtr& rs)
{
    Q_UNUSED(schema);
    Q_UNUSED(restricoes);
    rs.reset();
    return NaoOferecido();
}

QString clsMotorWebService::CitarIdentificador(const QString& nome) const
{
    return citacao::Citar(TipoMotor::Nenhum, nome);
}
