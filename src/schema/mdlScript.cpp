#include "mdlScript.h"

namespace script {

QString ScriptTabela(clsAmbienteDados&, const QString&, const QString&, int) { return {}; }
QString ScriptView(clsAmbienteDados&, const QString&, const QString&, int) { return {}; }
QString ScriptProcedure(clsAmbienteDados&, const QString&, const QString&, int) { return {}; }
QString ScriptFunction(clsAmbienteDados&, const QString&, const QString&, int) { return {}; }
QString ScriptTrigger(clsAmbienteDados&, const QString&, const QString&, int) { return {}; }
QString ScriptIndices(clsAmbienteDados&, const QString&, clsData*, QString&, const QString&) { return {}; }
QString ScriptBancoDados(clsAmbienteDados&, const QString&, const QString&, int) { return {}; }

} // namespace script
