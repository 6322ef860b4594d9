#pragma once
// What the data access object needs from the web-service client: the client itself
// (clsWebServiceData) derives from this class and is what the program's context makes unless it was
// given another maker (a test double).
#include "platform/clsRecordset.h"

#include <QString>
#include <QVariant>
#include <functional>
#include <memory>

class clsWebServiceDataBase {
public:
    virtual ~clsWebServiceDataBase() = default;

    virtual QString WebServiceUrl() const = 0;
    virtual void setWebServiceUrl(const QString& url) = 0;
    virtual QString ErrMsg() const = 0;
    virtual void setErrMsg(const QString& texto) = 0;
    // The last failure as a value: its text, and whether the call failed (OrigemErro::WebService)
    // or went through with a data set that could not be rebuilt (OrigemErro::DataSet).
    virtual ErroDados Erro() const { return {0, ErrMsg(), OrigemErro::WebService}; }

    // The access key sent with the description's request and every call (Authorization: Bearer);
    // empty sends none.
    virtual void setChave(const QString& chave) { (void)chave; }
    // Whether the last call was refused for want of a (right) access key (HTTP 401).
    virtual bool ChaveRecusada() const { return false; }

    // Stops the call in progress, from any thread: it fails at once. Nothing happens between calls.
    virtual void Interromper() {}

    // Whether the SOAP and XML libraries can be used.
    virtual bool DllCheck() = 0;
    // "SQL" or "ACCESS" as the service answers; empty on any failure.
    virtual QString ConnectionType() = 0;
    virtual bool OpenDataset(RecordsetPtr& objRst, const QString& strSql) = 0;
    virtual bool OpenSchema(RecordsetPtr& objRst,
                            int intSchema,
                            const QString& strTableName,
                            const QString& strTableType,
                            const QString& strOtherTableName,
                            const QString& strViewName)
        = 0;
    virtual QVariant RetValue(const QString& strSql) = 0;
    virtual bool ExecSql(const QString& strSql) = 0;
};

using FabricaWebServiceData = std::function<std::unique_ptr<clsWebServiceDataBase>()>;
