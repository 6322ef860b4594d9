#pragma once
// What the administration windows share: the enabled look of their boxes, the list grid with the
// columns' captions, the toolbars keyed by button, and the filters of their file dialogs.
#include "platform/clsRecordset.h"

#include <QStringList>
#include <QTableView>

class QDialog;
class QToolBar;
class QAction;
class clsAmbiente;
class clsPrompt;
class clsSqlDmoSessao;
class frmFilhoConexao;

// Enables a text box or list and gives it the window background when enabled, the button face
// when not.
void HabilitarControle(QWidget* controle, bool habilitar);

// A grid over a recordset that shows some of its fields, in a given order, under captions.
class uctGradeAdmin : public QTableView {
    Q_OBJECT
public:
    // `colunas`: field name and caption of each column shown.
    explicit uctGradeAdmin(const QList<std::pair<QString, QString>>& colunas, QWidget* pai = nullptr);
    void DefinirRecordset(RecordsetPtr rs);
    RecordsetPtr Recordset() const;
    // The value of a field in the current row; null when no row is current.
    QVariant ValorAtual(const QString& campo) const;
    bool TemLinhaAtual() const;
    void SelecionarLinha(int linha);

private:
    class Modelo;
    Modelo* m_modelo;
};

// A toolbar named `nome` with one action per key (objectName = key, text = tooltip).
QToolBar* BarraAdmin(QWidget* pai, const QString& nome, const QList<std::pair<QString, QString>>& botoes);

// Qt filter syntax of "Desc (*.ext)|*.ext|Todos os Arquivos (*.*)|*.*".
QString FiltroArquivos(const QString& descricao, const QString& extensao);

// Runs the backup program for a backup or restore window: its OK button stays disabled while the
// program works, and the window closes accepted when the program reports success.
void ExecutarProgramaBackup(QDialog& janela,
                            QWidget* botao,
                            clsPrompt& prompt,
                            const QString& programa,
                            const QString& argumento,
                            const QString& banco);

// Shows the session's last error; false, for the caller to return.
bool MostrarErroSessao(clsPrompt& prompt, const clsSqlDmoSessao& sessao);
// A list window whose list loaded: tagged with its connection's index, hosted in the main window,
// shown, with its grid enabled and focused.
void MostrarListaAdmin(frmFilhoConexao& janela, clsAmbiente& ambiente, QWidget* grade, qint16 tagIndexConexao);
