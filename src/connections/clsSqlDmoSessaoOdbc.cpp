#include "clsSqlDmoSessaoOdbc.h"

#include "clsData.h"
#include "platform/clsMotor.h"
#include "shell/mdlGlobais.h"

namespace {
FabricaSqlDmo& Fabrica()
{
    static FabricaSqlDmo f;
    return f;
}
} // namespace

void DefinirFabricaSqlDmo(FabricaSqlDmo fabrica) { Fabrica() = std::move(fabrica); }

std::unique_ptr<clsSqlDmoSessao> CriarSqlDmoSessao()
{
    if (Fabrica())
        return Fabrica()();
    return std::make_unique<clsSqlDmoSessaoOdbc>();
}

clsSqlDmoSessaoOdbc::~clsSqlDmoSessaoOdbc() { DisConnect(); }

bool clsSqlDmoSessaoOdbc::Connect(const QString& servidor, const QString& usuario, const QString& senha)
{
    DisConnect();
    ErroDados erro;
    motor = AbrirMotor(MontarConnStrSql(servidor, QStringLiteral("master"), usuario, senha, LoginSecure), true,
                       globais::TimeOut, erro);
    return motor ? true : Falhar(erro.numero, erro.descricao);
}

void clsSqlDmoSessaoOdbc::DisConnect()
{
    if (motor)
        motor->Fechar();
    motor.reset();
}

bool clsSqlDmoSessaoOdbc::Conectado() const { return motor && motor->Aberto(); }

bool clsSqlDmoSessaoOdbc::EnumFixedDrives(QList<DiscoFixo>& discos)
{
    discos.clear();
    if (!Conectado())
        return Falhar(3709, QStringLiteral("A sessão não está conectada ao servidor."));
    RecordsetPtr rs;
    if (!motor->Executar(QStringLiteral("EXEC master..xp_fixeddrives"), &rs, 1, nullptr) || !rs)
        return Falhar(motor->Erro().numero, motor->Erro().descricao);
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext())
        discos << DiscoFixo{rs->Valor(0).toString(), rs->Valor(1).toLongLong()};
    return true;
}
