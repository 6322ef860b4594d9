#pragma once
// The client of the web-service protocol: every call loads the service description from
// WebServiceUrl, takes the service's address and namespace from it and posts one SOAP 1.1 call;
// returned data sets are rebuilt as in-memory recordsets. Nothing raises: failures give false (or
// empty) and a text in ErrMsg; failures while rebuilding a data set begin with "WebErr: " and are
// told apart by Erro().origem.
#include "clsWebServiceDataBase.h"
#include "platform/mdlHttp.h"
#include "platform/mdlSoap.h"

#include <memory>
#include <mutex>

class clsWebServiceData : public clsWebServiceDataBase {
public:
    // `timeOutSegundos` is the TimeOut option: 0 waits the default 30 seconds.
    explicit clsWebServiceData(int timeOutSegundos = 0) : timeOut(timeOutSegundos > 0 ? timeOutSegundos : 30) {}

    QString WebServiceUrl() const override { return url; }
    // Stored with "?wsdl" appended unless it already ends so, in any letter case.
    void setWebServiceUrl(const QString& valor) override;
    QString ErrMsg() const override { return errMsg; }
    void setErrMsg(const QString& texto) override
    {
        errMsg = texto;
        dataSetInvalido = false;
    }
    ErroDados Erro() const override
    {
        return {0, errMsg, dataSetInvalido ? OrigemErro::DataSet : OrigemErro::WebService};
    }

    void setChave(const QString& valor) override { chave = valor; }
    bool ChaveRecusada() const override { return chaveRecusada; }

    void Interromper() override;
    bool DllCheck() override;
    QString ConnectionType() override;
    bool OpenDataset(RecordsetPtr& objRst, const QString& strSql) override;
    bool OpenSchema(RecordsetPtr& objRst,
                    int intSchema,
                    const QString& strTableName,
                    const QString& strTableType,
                    const QString& strOtherTableName,
                    const QString& strViewName) override;
    QVariant RetValue(const QString& strSql) override;
    bool ExecSql(const QString& strSql) override;

    // Seconds each wait may last.
    int Timeout() const { return timeOut; }

private:
    struct Chamada;
    Chamada Chamar(const QString& metodo, const soap::Parametros& parametros);
    bool DataSet(RecordsetPtr& objRst, Chamada& c, const QString& sufixo);
    void FalhaChamada(const Chamada& c, const QString& sufixo);

    QString url;
    QString errMsg;
    bool dataSetInvalido = false; // the last failure was a data set that could not be rebuilt
    QString chave;
    bool chaveRecusada = false;
    int timeOut;
    std::mutex travaParada;
    std::shared_ptr<http::Parada> parada; // the call in progress's, under travaParada
};
