#include "frmImpExp.h"

#include "platform/clsConnStr.h"
#include "platform/clsPrompt.h"
#include "schema/clsEstrutura.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QTableWidget>
#include <QThread>
#include <QVBoxLayout>

using namespace impexp;

namespace {
const QString Titulo = QStringLiteral("Importar e Exportar");

QPushButton* Botao(QWidget* pai, const char* nome, const QString& texto)
{
    auto* b = new QPushButton(texto, pai);
    b->setObjectName(QString::fromLatin1(nome));
    return b;
}

QString TextoLinhas(qint64 n)
{
    return n < 0 ? QStringLiteral("—") : QLocale(QLocale::Portuguese, QLocale::Brazil).toString(n);
}
} // namespace

frmImpExp::frmImpExp(clsPrompt& p, const Argumentos& a, QWidget* pai) : QWizard(pai), prompt(p), argumento(a)
{
    setObjectName(QStringLiteral("frmImpExp"));
    setWindowTitle(Titulo);
    setWizardStyle(QWizard::ClassicStyle);
    setOption(QWizard::NoBackButtonOnLastPage);
    setButtonText(QWizard::BackButton, QStringLiteral("< &Voltar"));
    setButtonText(QWizard::NextButton, QStringLiteral("&Avançar >"));
    setButtonText(QWizard::FinishButton, QStringLiteral("&Concluir"));
    setButtonText(QWizard::CancelButton, QStringLiteral("Cancelar"));
    setPage(PaginaPontas, PaginaDasPontas());
    setPage(PaginaTabelas, PaginaDasTabelas());
    setPage(PaginaColunas, PaginaDasColunas());
    setPage(PaginaCopia, PaginaDaCopia());
    resize(720, 480);
}

frmImpExp::~frmImpExp()
{
    // A thread still reading the catalog or copying is stopped and waited for.
    if (pararLista)
        pararLista->store(true);
    if (copia)
        copia->Parar();
    for (QThread* t : QList<QThread*>{lista, trabalho, previa} + substituidas)
        if (t) {
            t->wait();
            delete t;
        }
}

// ---------------------------------------------------------------- origin and destination

QWizardPage* frmImpExp::PaginaDasPontas()
{
    auto* pagina = new QWizardPage(this);
    pagina->setObjectName(QStringLiteral("pagPontas"));
    pagina->setTitle(QStringLiteral("Origem e destino"));
    pagina->setSubTitle(QStringLiteral("Uma cadeia de conexão, um banco de dados SQLite (.db), uma planilha (.xlsx), "
                                       "um arquivo de texto (.csv, .tsv, .txt) ou, como destino, uma pasta."));
    txtOrigem = new QLineEdit(MascararSenha(argumento.origem), pagina);
    txtOrigem->setObjectName(QStringLiteral("txtOrigem"));
    senhasOrigem = argumento.origem;
    txtDestino = new QLineEdit(MascararSenha(argumento.destino), pagina);
    txtDestino->setObjectName(QStringLiteral("txtDestino"));
    senhasDestino = argumento.destino;
    auto* btnOrigem = Botao(pagina, "btnOrigemArquivo", QStringLiteral("Ar&quivo..."));
    auto* btnDestino = Botao(pagina, "btnDestinoArquivo", QStringLiteral("Arq&uivo..."));
    connect(btnOrigem, &QPushButton::clicked, this, [this] { EscolherArquivo(txtOrigem, false); });
    connect(btnDestino, &QPushButton::clicked, this, [this] { EscolherArquivo(txtDestino, true); });
    cmbSeparador = new QComboBox(pagina);
    cmbSeparador->setObjectName(QStringLiteral("cmbSeparador"));
    cmbSeparador->addItems({QStringLiteral("Detectar"),
                            QStringLiteral("Vírgula (,)"),
                            QStringLiteral("Ponto e vírgula (;)"),
                            QStringLiteral("Tabulação"),
                            QStringLiteral("Barra vertical (|)")});
    cmbCodificacao = new QComboBox(pagina);
    cmbCodificacao->setObjectName(QStringLiteral("cmbCodificacao"));
    cmbCodificacao->addItems({QStringLiteral("Detectar"), QStringLiteral("UTF-8"), QStringLiteral("Windows-1252")});
    chkCabecalho = new QCheckBox(QStringLiteral("A primeira linha tem os &nomes das colunas"), pagina);
    chkCabecalho->setObjectName(QStringLiteral("chkCabecalho"));
    chkCabecalho->setChecked(true);
    auto* form = new QFormLayout(pagina);
    const auto linha = [&](const QString& rotulo, QLineEdit* campo, QPushButton* botao) {
        auto* h = new QHBoxLayout;
        h->addWidget(campo);
        h->addWidget(botao);
        auto* l = new QLabel(rotulo, pagina);
        l->setBuddy(campo);
        form->addRow(l, h);
    };
    linha(QStringLiteral("&Origem:"), txtOrigem, btnOrigem);
    linha(QStringLiteral("&Destino:"), txtDestino, btnDestino);
    auto* sep = new QLabel(QStringLiteral("&Separador (texto):"), pagina);
    sep->setBuddy(cmbSeparador);
    form->addRow(sep, cmbSeparador);
    auto* cod = new QLabel(QStringLiteral("Codi&ficação (texto):"), pagina);
    cod->setBuddy(cmbCodificacao);
    form->addRow(cod, cmbCodificacao);
    form->addRow(QString(), chkCabecalho);
    return pagina;
}

void frmImpExp::EscolherArquivo(QLineEdit* campo, bool destino)
{
    const QString filtro
        = QStringLiteral("Bancos de dados, planilhas e arquivos de texto|*.db;*.sqlite;*.sqlite3;*.mdb;*.xlsx;*.csv;"
                         "*.tsv;*.txt|Todos os arquivos|*.*");
    const QString arquivo = destino ? prompt.ArquivoSalvar(QStringLiteral("Destino"), QString(), filtro)
                                    : prompt.ArquivoAbrir(QStringLiteral("Origem"), QString(), filtro);
    if (!arquivo.isEmpty())
        campo->setText(arquivo);
}

impexp::Ponta frmImpExp::Ponta(const QLineEdit* campo) const
{
    const QString original = campo == txtOrigem ? senhasOrigem : senhasDestino;
    impexp::Ponta p = InterpretarPonta(DesmascararSenha(campo->text(), original));
    static const QChar separadores[] = {QChar(), u',', u';', u'\t', u'|'};
    p.texto.separador = separadores[qBound(0, cmbSeparador->currentIndex(), 4)];
    p.texto.codificacao = OpcoesTexto::Codificacao(cmbCodificacao->currentIndex());
    p.texto.cabecalho = chkCabecalho->isChecked();
    return p;
}

// ---------------------------------------------------------------- tables

QWizardPage* frmImpExp::PaginaDasTabelas()
{
    auto* pagina = new QWizardPage(this);
    pagina->setObjectName(QStringLiteral("pagTabelas"));
    pagina->setTitle(QStringLiteral("Tabelas"));
    pagina->setSubTitle(QStringLiteral("Marque as tabelas a copiar; o nome no destino e a ação podem ser mudados. "
                                       "Uma consulta da origem também pode ser copiada."));
    grdTabelas = new QTableWidget(0, 5, pagina);
    grdTabelas->setObjectName(QStringLiteral("grdTabelas"));
    grdTabelas->setHorizontalHeaderLabels({QStringLiteral("Tabela de origem"),
                                           QStringLiteral("Linhas"),
                                           QStringLiteral("Tabela de destino"),
                                           QStringLiteral("Ação"),
                                           QStringLiteral("No destino")});
    grdTabelas->horizontalHeader()->setSectionResizeMode(ColOrigem, QHeaderView::Stretch);
    grdTabelas->horizontalHeader()->setSectionResizeMode(ColDestino, QHeaderView::Stretch);
    grdTabelas->verticalHeader()->hide();
    grdTabelas->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdTabelas->installEventFilter(this);
    lblTabelas = new QLabel(pagina);
    lblTabelas->setObjectName(QStringLiteral("lblTabelas"));
    chkPararNoErro = new QCheckBox(QStringLiteral("&Parar na primeira tabela com erro"), pagina);
    chkPararNoErro->setObjectName(QStringLiteral("chkPararNoErro"));
    auto* todas = Botao(pagina, "btnMarcarTodas", QStringLiteral("&Marcar todas"));
    auto* nenhuma = Botao(pagina, "btnDesmarcarTodas", QStringLiteral("&Desmarcar todas"));
    const auto marcar = [this](bool sim) {
        for (int r = 0; r < grdTabelas->rowCount(); ++r)
            grdTabelas->item(r, ColOrigem)->setCheckState(sim ? Qt::Checked : Qt::Unchecked);
    };
    connect(todas, &QPushButton::clicked, this, [marcar] { marcar(true); });
    connect(nenhuma, &QPushButton::clicked, this, [marcar] { marcar(false); });
    auto* botoes = new QHBoxLayout;
    botoes->addWidget(todas);
    botoes->addWidget(nenhuma);
    botoes->addStretch();
    botoes->addWidget(chkPararNoErro);
    txtConsulta = new QLineEdit(pagina);
    txtConsulta->setObjectName(QStringLiteral("txtConsulta"));
    txtConsulta->setPlaceholderText(QStringLiteral("SELECT … (uma conexão como origem)"));
    btnConsulta = Botao(pagina, "btnConsulta", QStringLiteral("&Incluir consulta"));
    connect(btnConsulta, &QPushButton::clicked, this, &frmImpExp::IncluirConsulta);
    auto* consulta = new QHBoxLayout;
    auto* rotulo = new QLabel(QStringLiteral("C&onsulta:"), pagina);
    rotulo->setBuddy(txtConsulta);
    consulta->addWidget(rotulo);
    consulta->addWidget(txtConsulta);
    consulta->addWidget(btnConsulta);
    auto* v = new QVBoxLayout(pagina);
    v->addWidget(lblTabelas);
    v->addWidget(grdTabelas);
    v->addLayout(botoes);
    v->addLayout(consulta);
    return pagina;
}

// A query of the origin becomes a row of the list, copied to a table named "consulta".
void frmImpExp::IncluirConsulta()
{
    const QString sql = txtConsulta->text().trimmed();
    if (sql.isEmpty())
        return;
    if (Ponta(txtOrigem).tipo != impexp::Ponta::Tipo::Conexao) {
        prompt.MsgBox(QStringLiteral("Uma consulta só pode ser copiada de uma conexão."), vb::Exclamation, Titulo);
        return;
    }
    TabelaOrigem t;
    t.consulta = sql;
    t.exibicao = QStringLiteral("(consulta) ") + sql;
    tabelas << t;
    const int r = grdTabelas->rowCount();
    grdTabelas->insertRow(r);
    auto* origem = new QTableWidgetItem(t.exibicao);
    origem->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    origem->setCheckState(Qt::Checked);
    grdTabelas->setItem(r, ColOrigem, origem);
    for (int c : {int(ColLinhas), int(ColSituacao)}) {
        auto* i = new QTableWidgetItem(QStringLiteral("—"));
        i->setFlags(Qt::ItemIsEnabled);
        grdTabelas->setItem(r, c, i);
    }
    QString nome = QStringLiteral("consulta");
    for (int k = 2; !grdTabelas->findItems(nome, Qt::MatchExactly).isEmpty(); ++k)
        nome = QStringLiteral("consulta%1").arg(k);
    grdTabelas->setItem(r, ColDestino, new QTableWidgetItem(nome));
    auto* acao = new QComboBox(grdTabelas);
    acao->setObjectName(QStringLiteral("cmbAcao%1").arg(r));
    for (Acao a : {Acao::Criar, Acao::Acrescentar, Acao::Substituir, Acao::Recriar})
        acao->addItem(TextoDaAcao(a), int(a));
    grdTabelas->setCellWidget(r, ColAcao, acao);
    txtConsulta->clear();
    grdTabelas->setCurrentCell(r, ColDestino);
}

void frmImpExp::initializePage(int id)
{
    if (id == PaginaTabelas) {
        Listar();
    } else if (id == PaginaColunas) {
        linhasColunas = LinhasMarcadas();
        itemColunas = -1;
        const QSignalBlocker b(cmbTabelaColunas);
        cmbTabelaColunas->clear();
        for (int r : linhasColunas)
            cmbTabelaColunas->addItem(grdTabelas->item(r, ColOrigem)->text());
        MostrarColunas(0);
    } else if (id == PaginaCopia) {
        Copiar();
    }
}

// The origin's tables, then each one's count and whether the destination has it, from a thread.
void frmImpExp::Listar()
{
    grdTabelas->setRowCount(0);
    mapas.clear();
    lblTabelas->setText(QStringLiteral("Lendo as tabelas da origem…"));
    if (pararLista)
        pararLista->store(true);
    pararLista = std::make_shared<std::atomic<bool>>(false);
    auto parar = pararLista;
    const impexp::Ponta o = Ponta(txtOrigem), d = Ponta(txtDestino);
    frmImpExp* eu = this; // the threads end before the window goes (see the destructor)
    QThread* t = QThread::create([eu, o, d, parar] {
        clsTransferencia leitura(o, d);
        QString erro;
        QList<TabelaOrigem> tabelas;
        const bool ok = leitura.Abrir(erro) && leitura.Listar(tabelas, erro);
        if (parar->load())
            return;
        QMetaObject::invokeMethod(eu, [eu, tabelas, erro, ok, parar] {
            if (!parar->load())
                eu->Listado(ok ? tabelas : QList<TabelaOrigem>(), erro);
        });
        for (int i = 0; ok && i < tabelas.size() && !parar->load(); ++i) {
            const qint64 n = leitura.Contar(tabelas[i].objeto);
            const bool existe = leitura.ExisteNoDestino(ObjetoBanco(tabelas[i].objeto.nome));
            QMetaObject::invokeMethod(eu, [eu, i, n, existe, parar] {
                if (!parar->load())
                    eu->Contado(i, n, existe);
            });
        }
    });
    TrocarLeitura(lista, t, [this] {
        if (!tabelas.isEmpty())
            lblTabelas->setText(QStringLiteral("%1 tabela(s) na origem.").arg(tabelas.size()));
    });
}

// A reading replaced by a newer one is not waited for: it ends on its own (a list is told to stop;
// a preview's report names its item) and what it reports is dropped.
void frmImpExp::TrocarLeitura(QThread*& atual, QThread* t, const std::function<void()>& aoTerminar)
{
    if (atual)
        substituidas << atual;
    atual = t;
    connect(t, &QThread::finished, this, [this, &atual, t, aoTerminar] {
        substituidas.removeOne(t);
        t->deleteLater();
        if (atual != t)
            return;
        atual = nullptr;
        if (aoTerminar)
            aoTerminar();
    });
    t->start();
}

void frmImpExp::Listado(const QList<TabelaOrigem>& lidas, const QString& erro)
{
    tabelas = lidas;
    if (!erro.isEmpty()) {
        lblTabelas->setText(erro);
        prompt.MsgBox(erro, vb::Critical, Titulo);
        return;
    }
    grdTabelas->setRowCount(int(tabelas.size()));
    for (int r = 0; r < tabelas.size(); ++r) {
        const TabelaOrigem& t = tabelas[r];
        auto* origem = new QTableWidgetItem(t.exibicao + (t.visao ? QStringLiteral(" (visão)") : QString()));
        origem->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        origem->setCheckState(argumento.tabela.isEmpty() || argumento.tabela == t.objeto.nome ? Qt::Checked
                                                                                              : Qt::Unchecked);
        grdTabelas->setItem(r, ColOrigem, origem);
        auto* linhas = new QTableWidgetItem(QStringLiteral("…"));
        linhas->setFlags(Qt::ItemIsEnabled);
        linhas->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grdTabelas->setItem(r, ColLinhas, linhas);
        const QString nome
            = t.objeto.esquema.isEmpty() && InterpretarPonta(txtOrigem->text()).tipo == impexp::Ponta::Tipo::Texto
                  ? QFileInfo(t.objeto.nome).completeBaseName()
                  : t.objeto.nome;
        grdTabelas->setItem(r, ColDestino, new QTableWidgetItem(nome));
        auto* acao = new QComboBox(grdTabelas);
        acao->setObjectName(QStringLiteral("cmbAcao%1").arg(r));
        for (Acao a : {Acao::Criar, Acao::Acrescentar, Acao::Substituir, Acao::Recriar})
            acao->addItem(TextoDaAcao(a), int(a));
        grdTabelas->setCellWidget(r, ColAcao, acao);
        auto* situacao = new QTableWidgetItem(QStringLiteral("…"));
        situacao->setFlags(Qt::ItemIsEnabled);
        grdTabelas->setItem(r, ColSituacao, situacao);
    }
    grdTabelas->resizeColumnToContents(ColAcao);
    if (grdTabelas->rowCount() > 0)
        grdTabelas->setCurrentCell(0, ColOrigem);
    grdTabelas->setFocus();
}

void frmImpExp::Contado(int r, qint64 linhas, bool existe)
{
    if (r >= grdTabelas->rowCount())
        return;
    grdTabelas->item(r, ColLinhas)->setText(TextoLinhas(linhas));
    grdTabelas->item(r, ColLinhas)->setData(Qt::UserRole, linhas);
    grdTabelas->item(r, ColSituacao)->setText(existe ? QStringLiteral("existe") : QStringLiteral("nova"));
    // A table that exists is not created again by default: its rows are added.
    if (existe)
        if (auto* acao = qobject_cast<QComboBox*>(grdTabelas->cellWidget(r, ColAcao));
            acao && acao->currentIndex() == 0)
            acao->setCurrentIndex(1);
}

QList<int> frmImpExp::LinhasMarcadas() const
{
    QList<int> r;
    for (int l = 0; l < grdTabelas->rowCount() && l < tabelas.size(); ++l)
        if (grdTabelas->item(l, ColOrigem)->checkState() == Qt::Checked)
            r << l;
    return r;
}

QList<ItemCopia> frmImpExp::Itens() const
{
    QList<ItemCopia> itens;
    for (int r : LinhasMarcadas()) {
        ItemCopia i;
        i.origem = tabelas[r].objeto;
        i.consulta = tabelas[r].consulta;
        i.destino = ObjetoBanco(grdTabelas->item(r, ColDestino)->text().trimmed());
        i.acao = Acao(qobject_cast<QComboBox*>(grdTabelas->cellWidget(r, ColAcao))->currentData().toInt());
        const QVariant n = grdTabelas->item(r, ColLinhas)->data(Qt::UserRole);
        i.total = n.isValid() ? n.toLongLong() : -1;
        i.colunas = mapas.value(r);
        itens << i;
    }
    return itens;
}

// Emptying or dropping a table that exists is confirmed, naming each one.
bool frmImpExp::ConfirmarDestinos(const QList<ItemCopia>& itens)
{
    QStringList perdas;
    for (int r = 0; r < grdTabelas->rowCount(); ++r)
        for (const ItemCopia& i : itens)
            if (i.consulta.isEmpty() && i.origem == tabelas.value(r).objeto
                && grdTabelas->item(r, ColSituacao)->text() == u"existe"
                && (i.acao == Acao::Substituir || i.acao == Acao::Recriar))
                perdas << QStringLiteral("%1 (%2)").arg(i.destino.Exibicao(), TextoDaAcao(i.acao).toLower());
    if (perdas.isEmpty())
        return true;
    return prompt.MsgBox(QStringLiteral("As linhas que estas tabelas do destino têm hoje serão perdidas:\n\n%1\n\n"
                                        "Deseja continuar?")
                             .arg(perdas.join(u'\n')),
                         vb::YesNo | vb::Question | vb::DefaultButton2,
                         Titulo)
           == vb::Yes;
}

bool frmImpExp::validateCurrentPage()
{
    if (currentId() == PaginaPontas) {
        if (txtOrigem->text().trimmed().isEmpty() || txtDestino->text().trimmed().isEmpty()) {
            prompt.MsgBox(QStringLiteral("Informe a origem e o destino."), vb::Exclamation, Titulo);
            return false;
        }
        return true;
    }
    if (currentId() == PaginaTabelas) {
        if (Listando()) {
            prompt.MsgBox(QStringLiteral("Aguarde: as tabelas da origem ainda estão sendo lidas."),
                          vb::Exclamation,
                          Titulo);
            return false;
        }
        const QList<ItemCopia> itens = Itens();
        if (itens.isEmpty()) {
            prompt.MsgBox(QStringLiteral("Marque ao menos uma tabela."), vb::Exclamation, Titulo);
            return false;
        }
        for (const ItemCopia& i : itens)
            if (i.destino.nome.isEmpty()) {
                prompt.MsgBox(QStringLiteral("Informe o nome da tabela de destino de %1.").arg(i.Descricao()),
                              vb::Exclamation,
                              Titulo);
                return false;
            }
        return ConfirmarDestinos(itens);
    }
    if (currentId() == PaginaColunas) {
        if (LendoColunas()) {
            prompt.MsgBox(QStringLiteral("Aguarde: as colunas ainda estão sendo lidas."), vb::Exclamation, Titulo);
            return false;
        }
        GuardarMapa();
        for (auto it = mapas.cbegin(); it != mapas.cend(); ++it) {
            bool alguma = false;
            for (const MapaColuna& m : it.value()) {
                alguma = alguma || m.incluir;
                if (m.incluir && m.destino.trimmed().isEmpty()) {
                    prompt.MsgBox(QStringLiteral("Informe o nome no destino da coluna '%1'.").arg(m.origem),
                                  vb::Exclamation,
                                  Titulo);
                    return false;
                }
            }
            if (!alguma && !it.value().isEmpty()) {
                prompt.MsgBox(QStringLiteral("Inclua ao menos uma coluna de %1.")
                                  .arg(grdTabelas->item(it.key(), ColOrigem)->text()),
                              vb::Exclamation,
                              Titulo);
                return false;
            }
        }
        return true;
    }
    return !Copiando();
}

// ---------------------------------------------------------------- columns

QWizardPage* frmImpExp::PaginaDasColunas()
{
    auto* pagina = new QWizardPage(this);
    pagina->setObjectName(QStringLiteral("pagColunas"));
    pagina->setTitle(QStringLiteral("Colunas"));
    pagina->setSubTitle(QStringLiteral("Para cada tabela: as colunas a copiar (desmarque para deixar de fora), o nome "
                                       "e o tipo de cada uma no destino, e as primeiras linhas."));
    pagina->setCommitPage(true);
    pagina->setButtonText(QWizard::CommitButton, QStringLiteral("&Copiar"));
    cmbTabelaColunas = new QComboBox(pagina);
    cmbTabelaColunas->setObjectName(QStringLiteral("cmbTabelaColunas"));
    connect(cmbTabelaColunas, &QComboBox::currentIndexChanged, this, &frmImpExp::MostrarColunas);
    grdColunas = new QTableWidget(0, 3, pagina);
    grdColunas->setObjectName(QStringLiteral("grdColunas"));
    grdColunas->setHorizontalHeaderLabels(
        {QStringLiteral("Coluna de origem"), QStringLiteral("Nome no destino"), QStringLiteral("Tipo no destino")});
    grdColunas->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    grdColunas->verticalHeader()->hide();
    grdColunas->installEventFilter(this);
    grdColunas->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                | QAbstractItemView::AnyKeyPressed);
    grdPrevia = new QTableWidget(pagina);
    grdPrevia->setObjectName(QStringLiteral("grdPrevia"));
    grdPrevia->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lblColunas = new QLabel(pagina);
    lblColunas->setObjectName(QStringLiteral("lblColunas"));
    auto* tabela = new QLabel(QStringLiteral("&Tabela:"), pagina);
    tabela->setBuddy(cmbTabelaColunas);
    auto* colunas = new QLabel(QStringLiteral("Co&lunas:"), pagina);
    colunas->setBuddy(grdColunas);
    auto* primeiras = new QLabel(QStringLiteral("P&rimeiras linhas:"), pagina);
    primeiras->setBuddy(grdPrevia);
    auto* h = new QHBoxLayout;
    h->addWidget(tabela);
    h->addWidget(cmbTabelaColunas, 1);
    auto* v = new QVBoxLayout(pagina);
    v->addLayout(h);
    v->addWidget(lblColunas);
    v->addWidget(colunas);
    v->addWidget(grdColunas, 3);
    v->addWidget(primeiras);
    v->addWidget(grdPrevia, 2);
    return pagina;
}

void frmImpExp::GuardarMapa()
{
    if (itemColunas < 0 || itemColunas >= linhasColunas.size() || grdColunas->rowCount() == 0)
        return;
    QList<MapaColuna> mapa;
    for (int r = 0; r < grdColunas->rowCount(); ++r) {
        MapaColuna m;
        m.origem = grdColunas->item(r, ColMapaOrigem)->data(Qt::UserRole).toString();
        m.incluir = grdColunas->item(r, ColMapaOrigem)->checkState() == Qt::Checked;
        m.destino = grdColunas->item(r, ColMapaDestino)->text().trimmed();
        // A type is the user's only when it was changed.
        const QTableWidgetItem* tipo = grdColunas->item(r, ColMapaTipo);
        if (tipo->text().trimmed() != tipo->data(Qt::UserRole).toString())
            m.tipo = tipo->text().trimmed();
        mapa << m;
    }
    mapas.insert(linhasColunas[itemColunas], mapa);
}

void frmImpExp::MostrarColunas(int k)
{
    GuardarMapa();
    itemColunas = k;
    grdColunas->setRowCount(0);
    grdPrevia->clear();
    grdPrevia->setRowCount(0);
    grdPrevia->setColumnCount(0);
    const QList<ItemCopia> itens = Itens();
    if (k < 0 || k >= itens.size())
        return;
    lblColunas->setText(QStringLiteral("Lendo as colunas…"));
    ItemCopia item = itens[k];
    item.colunas.clear();
    const impexp::Ponta o = Ponta(txtOrigem), d = Ponta(txtDestino);
    frmImpExp* eu = this; // the thread ends before the window goes (see the destructor)
    QThread* t = QThread::create([eu, o, d, item, k] {
        clsTransferencia leitura(o, d);
        QString erro;
        EstruturaCopia e;
        QList<QStringList> linhas;
        const bool ok = leitura.Abrir(erro) && leitura.Previa(item, 20, e, linhas, erro);
        const Dialeto dialeto = leitura.DialetoDestino();
        QMetaObject::invokeMethod(eu, [eu, k, e, linhas, dialeto, erro, ok] {
            eu->ColunasLidas(k, ok ? e : EstruturaCopia(), linhas, dialeto, erro);
        });
    });
    TrocarLeitura(previa, t);
}

void frmImpExp::ColunasLidas(int k,
                             const EstruturaCopia& e,
                             const QList<QStringList>& linhas,
                             Dialeto dialeto,
                             const QString& erro)
{
    if (k != itemColunas)
        return;
    if (!erro.isEmpty()) {
        lblColunas->setText(erro);
        return;
    }
    const QList<MapaColuna> mapa = mapas.value(linhasColunas.value(k));
    const bool arquivo = Ponta(txtDestino).tipo != impexp::Ponta::Tipo::Conexao;
    grdColunas->setRowCount(int(e.colunas.size()));
    QStringList nomes;
    for (int r = 0; r < e.colunas.size(); ++r) {
        const ColunaCopia& c = e.colunas[r];
        nomes << c.nome;
        MapaColuna m{c.nome, c.nome, QString(), true};
        for (const MapaColuna& x : mapa)
            if (x.origem == c.nome)
                m = x;
        auto* origem = new QTableWidgetItem(c.nome);
        origem->setData(Qt::UserRole, c.nome);
        origem->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        origem->setCheckState(m.incluir ? Qt::Checked : Qt::Unchecked);
        grdColunas->setItem(r, ColMapaOrigem, origem);
        grdColunas->setItem(r, ColMapaDestino, new QTableWidgetItem(m.destino));
        const QString sugerido = arquivo ? QString() : TipoNoDestino(dialeto, c);
        auto* tipo = new QTableWidgetItem(m.tipo.isEmpty() ? sugerido : m.tipo);
        tipo->setData(Qt::UserRole, sugerido);
        if (arquivo)
            tipo->setFlags(Qt::ItemIsEnabled);
        grdColunas->setItem(r, ColMapaTipo, tipo);
    }
    grdPrevia->setColumnCount(int(nomes.size()));
    grdPrevia->setHorizontalHeaderLabels(nomes);
    grdPrevia->setRowCount(int(linhas.size()));
    for (int r = 0; r < linhas.size(); ++r)
        for (int c = 0; c < linhas[r].size() && c < nomes.size(); ++c)
            grdPrevia->setItem(r, c, new QTableWidgetItem(linhas[r][c]));
    lblColunas->setText(
        QStringLiteral("%1 coluna(s); as primeiras %2 linha(s) abaixo.").arg(e.colunas.size()).arg(linhas.size()));
    if (grdColunas->rowCount() > 0)
        grdColunas->setCurrentCell(0, ColMapaOrigem);
}

// ---------------------------------------------------------------- copy

QWizardPage* frmImpExp::PaginaDaCopia()
{
    auto* pagina = new QWizardPage(this);
    pagina->setObjectName(QStringLiteral("pagCopia"));
    pagina->setTitle(QStringLiteral("Cópia"));
    pagina->setFinalPage(true);
    lblProgresso = new QLabel(pagina);
    lblProgresso->setObjectName(QStringLiteral("lblProgresso"));
    barTabela = new QProgressBar(pagina);
    barTabela->setObjectName(QStringLiteral("barTabela"));
    barTotal = new QProgressBar(pagina);
    barTotal->setObjectName(QStringLiteral("barTotal"));
    btnParar = Botao(pagina, "btnParar", QStringLiteral("&Parar"));
    txtRelatorio = new QPlainTextEdit(pagina);
    txtRelatorio->setObjectName(QStringLiteral("txtRelatorio"));
    txtRelatorio->setReadOnly(true);
    btnSalvarRelatorio = Botao(pagina, "btnSalvarRelatorio", QStringLiteral("&Salvar relatório..."));
    btnSalvarRelatorio->setEnabled(false);
    connect(btnParar, &QPushButton::clicked, this, [this] {
        if (copia)
            copia->Parar();
        btnParar->setEnabled(false);
        lblProgresso->setText(QStringLiteral("Parando…"));
    });
    connect(btnSalvarRelatorio, &QPushButton::clicked, this, &frmImpExp::SalvarRelatorio);
    auto* v = new QVBoxLayout(pagina);
    v->addWidget(lblProgresso);
    auto* tabela = new QLabel(QStringLiteral("Tabela:"), pagina);
    v->addWidget(tabela);
    v->addWidget(barTabela);
    auto* total = new QLabel(QStringLiteral("Total:"), pagina);
    v->addWidget(total);
    v->addWidget(barTotal);
    auto* h = new QHBoxLayout;
    h->addStretch();
    h->addWidget(btnParar);
    v->addLayout(h);
    v->addWidget(txtRelatorio);
    auto* h2 = new QHBoxLayout;
    h2->addStretch();
    h2->addWidget(btnSalvarRelatorio);
    v->addLayout(h2);
    return pagina;
}

void frmImpExp::Copiar()
{
    const QList<ItemCopia> itens = Itens();
    const bool pararNoErro = chkPararNoErro->isChecked();
    concluida = false;
    txtRelatorio->clear();
    barTotal->setRange(0, int(itens.size()));
    barTotal->setValue(0);
    btnParar->setEnabled(true);
    btnParar->setFocus();
    button(QWizard::FinishButton)->setEnabled(false);
    copia = std::make_shared<clsTransferencia>(Ponta(txtOrigem), Ponta(txtDestino));
    auto run = copia;
    frmImpExp* eu = this; // the threads end before the window goes (see the destructor)
    clsTransferencia::Avisos avisos;
    avisos.inicio = [eu, itens](int i) {
        QMetaObject::invokeMethod(eu, [eu, i, itens] {
            eu->lblProgresso->setText(
                QStringLiteral("Copiando %1 (%2 de %3)…").arg(itens[i].Descricao()).arg(i + 1).arg(itens.size()));
            const qint64 n = itens[i].total;
            eu->barTabela->setRange(0, n > 0 ? 1000 : 0);
            eu->barTabela->setValue(0);
        });
    };
    avisos.progresso = [eu, itens](int i, qint64 linhas) {
        QMetaObject::invokeMethod(eu, [eu, i, linhas, itens] {
            const qint64 n = itens[i].total;
            if (n > 0)
                eu->barTabela->setValue(int(qMin<qint64>(1000, linhas * 1000 / n)));
        });
    };
    avisos.fim = [eu](int i, const ResultadoItem& r) {
        QMetaObject::invokeMethod(eu, [eu, i, r] {
            eu->barTotal->setValue(i + 1);
            eu->txtRelatorio->appendPlainText(Relatorio({r}).section(u'\n', 0, 0));
        });
    };
    QThread* t = QThread::create([eu, run, itens, pararNoErro, avisos] {
        QString erro;
        QList<ResultadoItem> r;
        if (!run->Abrir(erro)) {
            ResultadoItem falha;
            falha.erro = erro;
            r << falha;
        } else {
            r = run->Executar(itens, pararNoErro, avisos);
        }
        QMetaObject::invokeMethod(eu, [eu, r] { eu->Copiado(r); });
    });
    trabalho = t;
    t->start();
}

void frmImpExp::Copiado(const QList<ResultadoItem>& resultados)
{
    if (trabalho) {
        trabalho->wait();
        delete trabalho;
        trabalho = nullptr;
    }
    copia.reset();
    concluida = true;
    txtRelatorio->setPlainText(Relatorio(resultados));
    bool ok = true;
    for (const ResultadoItem& r : resultados)
        ok = ok && r.ok;
    lblProgresso->setText(ok ? QStringLiteral("Cópia concluída.") : QStringLiteral("Cópia concluída com erros."));
    barTabela->setRange(0, 1);
    barTabela->setValue(1);
    btnParar->setEnabled(false);
    btnSalvarRelatorio->setEnabled(true);
    button(QWizard::FinishButton)->setEnabled(true);
    button(QWizard::FinishButton)->setFocus();
    if (fecharAoTerminar)
        QWizard::reject();
}

void frmImpExp::SalvarRelatorio()
{
    const QString arquivo = prompt.ArquivoSalvar(QStringLiteral("Salvar relatório"),
                                                 QString(),
                                                 QStringLiteral("Arquivos de texto|*.txt|Todos os arquivos|*.*"));
    if (arquivo.isEmpty() || !PodeSobrescrever(prompt, arquivo))
        return;
    QSaveFile f(arquivo);
    if (!f.open(QIODevice::WriteOnly) || f.write(txtRelatorio->toPlainText().toUtf8()) < 0 || !f.commit())
        prompt.MsgBox(QStringLiteral("Não foi possível gravar o relatório em %1: %2").arg(arquivo, f.errorString()),
                      vb::Critical,
                      Titulo);
}

bool frmImpExp::eventFilter(QObject* objeto, QEvent* evento)
{
    if ((objeto == grdColunas || objeto == grdTabelas) && evento->type() == QEvent::KeyPress) {
        const int tecla = static_cast<QKeyEvent*>(evento)->key();
        if (tecla == Qt::Key_Return || tecla == Qt::Key_Enter) {
            evento->accept();
            return true;
        }
    }
    return QWizard::eventFilter(objeto, evento);
}

// Closing while copying stops the copy (the table in progress is rolled back) and closes when done.
void frmImpExp::reject()
{
    if (!Copiando()) {
        QWizard::reject();
        return;
    }
    if (prompt.MsgBox(QStringLiteral("Parar a cópia? A tabela em andamento não será gravada."),
                      vb::YesNo | vb::Question | vb::DefaultButton2,
                      Titulo)
        != vb::Yes)
        return;
    fecharAoTerminar = true;
    btnParar->click();
}
