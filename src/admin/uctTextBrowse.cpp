#include "uctTextBrowse.h"

#include "connections/clsData.h"
#include "frmTextBrowse.h"
#include "gui/Twips.h"
#include "uctComumAdmin.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

uctTextBrowse::uctTextBrowse(clsAmbienteDados& ambiente, QWidget* pai) : QWidget(pai), m_ambiente(ambiente)
{
    setObjectName(QStringLiteral("uctTextBrowse"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4); // 60 twips between box and button
    txtEdit = new QLineEdit(this);
    txtEdit->setObjectName(QStringLiteral("txtEdit"));
    btnBrowse = new QToolButton(this);
    btnBrowse->setObjectName(QStringLiteral("btnBrowse"));
    btnBrowse->setArrowType(Qt::DownArrow);
    layout->addWidget(txtEdit, 1);
    layout->addWidget(btnBrowse);
    setFixedHeight(std::max(315 / TwipsPorPixel, txtEdit->sizeHint().height()));
    connect(btnBrowse, &QToolButton::clicked, this, &uctTextBrowse::btnBrowse_Click);
}

QString uctTextBrowse::Text() const { return txtEdit->text(); }
void uctTextBrowse::setText(const QString& texto) { txtEdit->setText(texto); }

void uctTextBrowse::DefinirHabilitado(bool habilitar)
{
    HabilitarControle(txtEdit, habilitar);
    btnBrowse->setEnabled(habilitar);
}

void uctTextBrowse::setBackColor(const QColor& cor)
{
    QPalette p = txtEdit->palette();
    p.setColor(QPalette::Base, cor);
    txtEdit->setPalette(p);
}

bool uctTextBrowse::LerLinhas(RecordsetPtr& rs)
{
    if (fonte)
        return fonte(InstrucaoSql, rs);
    clsData dados(m_ambiente);
    if (!dados.OpenConnection(ConnectionString, false, true))
        return false;
    const bool ok = dados.OpenRecordset(rs, InstrucaoSql, false, false, true);
    dados.CloseConnection();
    return ok;
}

void uctTextBrowse::btnBrowse_Click()
{
    clsPrompt& prompt = m_ambiente.Prompt();
    txtEdit->setFocus();
    if (ConnectionString.isEmpty() && !fonte) {
        prompt.MsgBox(QStringLiteral("Falta a Definição da Propriedade com a String de Conexão"), vb::Exclamation);
        return;
    }
    if (InstrucaoSql.isEmpty()) {
        prompt.MsgBox(QStringLiteral("Falta a Definição da Propriedade com a Instrução SQL"), vb::Exclamation);
        return;
    }
    RecordsetPtr rs;
    {
        clsAmpulheta ampulheta(prompt);
        if (!LerLinhas(rs) || !rs)
            return;
    }
    if (rs->RecordCount() <= 0) {
        prompt.MsgBox(QStringLiteral("Nenhum Registro Encontrado"), vb::Exclamation);
        return;
    }
    // The list opens on the current choice.
    rs->MoveFirst();
    if (!Text().isEmpty())
        for (; !rs->Eof(); rs->MoveNext())
            if (rs->Valor(CampoDescricao).toString() == Text())
                break;
    if (rs->Eof())
        rs->MoveFirst();
    frmTextBrowse janela(this);
    janela.move(mapToGlobal(QPoint(0, 0)));
    janela.DefinirLinhas(rs);
    prompt.ExibirModal(&janela);
    if (!janela.blnConfirmou || janela.LinhaAtual() < 0)
        return;
    const int linha = janela.LinhaAtual();
    const int descricao = rs->IndiceCampo(CampoDescricao);
    const int valor = rs->IndiceCampo(CampoValor);
    setText(descricao < 0 ? QString() : rs->ValorCelula(linha, descricao).toString());
    m_valor = valor < 0 || rs->CelulaNula(linha, valor) ? QVariant(QString()) : rs->ValorCelula(linha, valor);
    emit ValueChanged();
}
