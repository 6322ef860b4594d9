#include "frmJobScheduleCad.h"

#include "navigator/clsAmbienteNavegador.h"
#include "navigator/mdlNavegador.h"
#include "platform/clsPrompt.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

template <typename W> W* Nomear(W* w, const char* nome)
{
    w->setObjectName(QLatin1String(nome));
    return w;
}

QLineEdit* CaixaMascara(QWidget* pai, const char* nome, const QString& mascara, const QString& texto = {})
{
    auto* caixa = Nomear(new QLineEdit(pai), nome);
    caixa->setInputMask(mascara);
    caixa->setText(texto);
    caixa->setMaximumWidth(90);
    return caixa;
}

// A number box with the scroll bar beside it: the bar writes its value into the box, and a number
// typed into the box moves the bar.
QWidget*
Contador(QWidget* pai, QLineEdit*& caixa, QScrollBar*& barra, const char* nomeCaixa, const char* nomeBarra, int maximo)
{
    auto* conjunto = new QWidget(pai);
    caixa = Nomear(new QLineEdit(QStringLiteral("1"), conjunto), nomeCaixa);
    caixa->setValidator(new QIntValidator(1, maximo, caixa));
    caixa->setMaximumWidth(48);
    caixa->setAlignment(Qt::AlignRight);
    barra = Nomear(new QScrollBar(Qt::Vertical, conjunto), nomeBarra);
    barra->setRange(1, maximo);
    // Up raises the number, as a spin button does.
    barra->setInvertedAppearance(true);
    barra->setInvertedControls(true);
    barra->setFixedHeight(caixa->sizeHint().height());
    auto* linha = new QHBoxLayout(conjunto);
    linha->setContentsMargins(0, 0, 0, 0);
    linha->setSpacing(0);
    linha->addWidget(caixa);
    linha->addWidget(barra);
    QObject::connect(barra, &QScrollBar::valueChanged, caixa, [caixa](int v) {
        if (caixa->text().toInt() != v)
            caixa->setText(QString::number(v));
    });
    QObject::connect(caixa, &QLineEdit::textEdited, barra, [barra](const QString& t) {
        if (const int v = t.toInt(); v >= barra->minimum())
            barra->setValue(v);
    });
    return conjunto;
}

// Enabled with the window background, or disabled with the button face.
void Habilitar(QWidget* w, bool habilitado)
{
    w->setEnabled(habilitado);
    QPalette p = w->palette();
    p.setColor(QPalette::Base, w->style()->standardPalette().color(habilitado ? QPalette::Base : QPalette::Button));
    w->setPalette(p);
}

QLabel* Rotulo(const QString& texto, QWidget* pai) { return new QLabel(texto, pai); }

} // namespace

frmJobScheduleCad::frmJobScheduleCad(clsPrompt& prompt, QWidget* pai)
    : frmCadastroAgent(prompt, QStringLiteral("frmJobScheduleCad"), pai)
{
    setWindowTitle(QStringLiteral("JobSchedule"));
    auto* layout = new QVBoxLayout(this);
    auto* linhaNome = new QHBoxLayout;
    linhaNome->addWidget(Rotulo(QStringLiteral("Name"), this));
    linhaNome->addWidget(txtName);
    layout->addLayout(linhaNome);
    auto* meio = new QHBoxLayout;
    CriarFrequencia(this);
    meio->addWidget(fraOccurs);
    // The weekly and monthly frames take the daily frame's place: one shows at a time.
    auto* lugar = new QGridLayout;
    CriarDiaria(this);
    CriarSemanal(this);
    CriarMensal(this);
    for (QGroupBox* f : {fraDaily, fraWeekly, fraMonthly})
        lugar->addWidget(f, 0, 0);
    meio->addLayout(lugar, 1);
    layout->addLayout(meio);
    CriarHorario(this);
    layout->addWidget(fraDailyFrequency);
    CriarDuracao(this);
    layout->addWidget(fraDuration);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(btnConf);
    layout->addLayout(botoes);

    for (QRadioButton* o : {optOcuDaily,
                            optOcuWeekly,
                            optOcuMonthly,
                            optMonthlyDay,
                            optMonthlyThe,
                            optDailyFreqOnce,
                            optDailyFreqEvery,
                            optDurationEndNo,
                            optDurationEnd})
        connect(o, &QRadioButton::toggled, this, &frmJobScheduleCad::AtualizarEstado);
    optMonthlyDay->setChecked(true);
    optOcuWeekly->setChecked(true);
    optDailyFreqOnce->setChecked(true);
    optDurationEndNo->setChecked(true);
    AtualizarEstado();
}

void frmJobScheduleCad::CriarFrequencia(QWidget* pai)
{
    fraOccurs = Nomear(new QGroupBox(QStringLiteral("Occurs"), pai), "fraOccurs");
    optOcuDaily = Nomear(new QRadioButton(QStringLiteral("Daily"), fraOccurs), "optOcuDaily");
    optOcuWeekly = Nomear(new QRadioButton(QStringLiteral("Weekly"), fraOccurs), "optOcuWeekly");
    optOcuMonthly = Nomear(new QRadioButton(QStringLiteral("Monthly"), fraOccurs), "optOcuMonthly");
    auto* l = new QVBoxLayout(fraOccurs);
    for (QRadioButton* o : {optOcuDaily, optOcuWeekly, optOcuMonthly})
        l->addWidget(o);
    l->addStretch();
}

void frmJobScheduleCad::CriarDiaria(QWidget* pai)
{
    fraDaily = Nomear(new QGroupBox(QStringLiteral("Daily"), pai), "fraDaily");
    auto* coluna = new QVBoxLayout(fraDaily);
    auto* l = new QHBoxLayout;
    coluna->addLayout(l);
    coluna->addStretch();
    l->addWidget(Rotulo(QStringLiteral("Every"), fraDaily));
    l->addWidget(Contador(fraDaily, txtDailyEvery, scrDailyEvery, "txtDailyEvery", "scrDailyEvery", 365));
    l->addWidget(Rotulo(QStringLiteral("day(s)"), fraDaily));
    l->addStretch();
}

void frmJobScheduleCad::CriarSemanal(QWidget* pai)
{
    fraWeekly = Nomear(new QGroupBox(QStringLiteral("Weekly"), pai), "fraWeekly");
    auto* g = new QGridLayout(fraWeekly);
    auto* cada = new QHBoxLayout;
    cada->addWidget(Rotulo(QStringLiteral("Every"), fraWeekly));
    cada->addWidget(Contador(fraWeekly, txtWeeklyEvery, scrWeeklyEvery, "txtWeeklyEvery", "scrWeeklyEvery", 99));
    cada->addWidget(Rotulo(QStringLiteral("week(s)"), fraWeekly));
    cada->addStretch();
    g->addLayout(cada, 0, 0, 1, 4);
    QCheckBox** dias[] = {&chkWekMon, &chkWekTue, &chkWekWed, &chkWekThu, &chkWekFri, &chkWekSat, &chkWekSun};
    const char* nomes[] = {"chkWekMon", "chkWekTue", "chkWekWed", "chkWekThu", "chkWekFri", "chkWekSat", "chkWekSun"};
    const char* textos[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    for (int i = 0; i < 7; ++i) {
        *dias[i] = Nomear(new QCheckBox(QLatin1String(textos[i]), fraWeekly), nomes[i]);
        g->addWidget(*dias[i], 1 + i / 4, i % 4);
    }
}

void frmJobScheduleCad::CriarMensal(QWidget* pai)
{
    fraMonthly = Nomear(new QGroupBox(QStringLiteral("Monthly"), pai), "fraMonthly");
    optMonthlyDay = Nomear(new QRadioButton(QStringLiteral("Day"), fraMonthly), "optMonthlyDay");
    optMonthlyThe = Nomear(new QRadioButton(QStringLiteral("The"), fraMonthly), "optMonthlyThe");
    cmbMonthlyThe = Nomear(new QComboBox(fraMonthly), "cmbMonthlyThe");
    cmbMonthlyThe->addItems({"1st", "2nd", "3rd", "4th", "Last"});
    cmbMonthlyTheWeek = Nomear(new QComboBox(fraMonthly), "cmbMonthlyTheWeek");
    cmbMonthlyTheWeek->addItems({"Sunday",
                                 "Monday",
                                 "Tuesday",
                                 "Wednesday",
                                 "Thursday",
                                 "Friday",
                                 "Saturday",
                                 "Day",
                                 "Weekday",
                                 "Weekend Day"});
    auto* g = new QGridLayout(fraMonthly);
    g->addWidget(optMonthlyDay, 0, 0);
    g->addWidget(Contador(fraMonthly, txtMonthlyDay, scrMonthlyDay, "txtMonthlyDay", "scrMonthlyDay", 31),
                 0,
                 1,
                 Qt::AlignLeft);
    g->addWidget(optMonthlyThe, 1, 0);
    auto* the = new QHBoxLayout;
    the->addWidget(cmbMonthlyThe);
    the->addWidget(cmbMonthlyTheWeek);
    the->addStretch();
    g->addLayout(the, 1, 1);
    auto* cada = new QHBoxLayout;
    cada->addWidget(Rotulo(QStringLiteral("of every"), fraMonthly));
    cada->addWidget(Contador(fraMonthly, txtMonthlyEvery, scrMonthlyEvery, "txtMonthlyEvery", "scrMonthlyEvery", 99));
    cada->addWidget(Rotulo(QStringLiteral("month(s)"), fraMonthly));
    cada->addStretch();
    g->addLayout(cada, 2, 0, 1, 2);
}

void frmJobScheduleCad::CriarHorario(QWidget* pai)
{
    fraDailyFrequency = Nomear(new QGroupBox(QStringLiteral("Daily Frequency"), pai), "fraDailyFrequency");
    QWidget* f = fraDailyFrequency;
    optDailyFreqOnce = Nomear(new QRadioButton(QStringLiteral("Occours Once at"), f), "optDailyFreqOnce");
    txtDailyFreqOnce = CaixaMascara(f, "txtDailyFreqOnce", QStringLiteral("99:99:99"), QStringLiteral("00:00:00"));
    optDailyFreqEvery = Nomear(new QRadioButton(QStringLiteral("Occours Every"), f), "optDailyFreqEvery");
    QWidget* contador
        = Contador(f, txtDailyFreqEvery, scrDailyFreqEvery, "txtDailyFreqEvery", "scrDailyFreqEvery", 999);
    cmbDailyFreqEvery = Nomear(new QComboBox(f), "cmbDailyFreqEvery");
    cmbDailyFreqEvery->addItems({"Hour(s)", "Minute(s)"});
    txtDailyFreqEveryFrom
        = CaixaMascara(f, "txtDailyFreqEveryFrom", QStringLiteral("99:99:99"), QStringLiteral("00:00:00"));
    txtDailyFreqEveryTo
        = CaixaMascara(f, "txtDailyFreqEveryTo", QStringLiteral("99:99:99"), QStringLiteral("23:59:59"));
    auto* g = new QGridLayout(f);
    g->addWidget(optDailyFreqOnce, 0, 0);
    g->addWidget(txtDailyFreqOnce, 0, 1);
    g->addWidget(optDailyFreqEvery, 1, 0);
    auto* cada = new QHBoxLayout;
    cada->addWidget(contador);
    cada->addWidget(cmbDailyFreqEvery);
    cada->addStretch();
    g->addLayout(cada, 1, 1);
    auto* periodo = new QHBoxLayout;
    periodo->addWidget(Rotulo(QStringLiteral("From"), f));
    periodo->addWidget(txtDailyFreqEveryFrom);
    periodo->addWidget(Rotulo(QStringLiteral("To"), f));
    periodo->addWidget(txtDailyFreqEveryTo);
    periodo->addStretch();
    g->addLayout(periodo, 2, 1);
    g->setColumnStretch(2, 1);
}

void frmJobScheduleCad::CriarDuracao(QWidget* pai)
{
    fraDuration = Nomear(new QGroupBox(QStringLiteral("Duration"), pai), "fraDuration");
    QWidget* f = fraDuration;
    txtDurationStart = CaixaMascara(f, "txtDurationStart", QStringLiteral("99/99/9999"));
    optDurationEndNo = Nomear(new QRadioButton(QStringLiteral("No End Date"), f), "optDurationEndNo");
    optDurationEnd = Nomear(new QRadioButton(QStringLiteral("End Date"), f), "optDurationEnd");
    txtDurationEnd = CaixaMascara(f, "txtDurationEnd", QStringLiteral("99/99/9999"));
    auto* g = new QGridLayout(f);
    g->addWidget(Rotulo(QStringLiteral("Start Date"), f), 0, 0);
    g->addWidget(txtDurationStart, 0, 1);
    g->addWidget(optDurationEndNo, 0, 2);
    g->addWidget(optDurationEnd, 1, 2);
    g->addWidget(txtDurationEnd, 1, 3);
    g->setColumnStretch(4, 1);
}

void frmJobScheduleCad::AtualizarEstado()
{
    fraDaily->setVisible(optOcuDaily->isChecked());
    fraWeekly->setVisible(optOcuWeekly->isChecked());
    fraMonthly->setVisible(optOcuMonthly->isChecked());
    const bool dia = optMonthlyDay->isChecked();
    Habilitar(scrMonthlyDay, dia);
    Habilitar(txtMonthlyDay, dia);
    Habilitar(cmbMonthlyThe, !dia);
    Habilitar(cmbMonthlyTheWeek, !dia);
    const bool umaVez = optDailyFreqOnce->isChecked();
    Habilitar(txtDailyFreqOnce, umaVez);
    for (QWidget* w : std::initializer_list<QWidget*>{txtDailyFreqEvery,
                                                      scrDailyFreqEvery,
                                                      cmbDailyFreqEvery,
                                                      txtDailyFreqEveryFrom,
                                                      txtDailyFreqEveryTo})
        Habilitar(w, !umaVez);
    Habilitar(txtDurationEnd, optDurationEnd->isChecked());
}

QCheckBox* frmJobScheduleCad::Dia(int i) const
{
    QCheckBox* const dias[] = {chkWekMon, chkWekTue, chkWekWed, chkWekThu, chkWekFri, chkWekSat, chkWekSun};
    return dias[i];
}

void frmJobScheduleCad::Aplicar(const TelaAgendamento& t)
{
    setWindowTitle(t.caption);
    txtName->setText(t.nome);
    (t.ocorre == TelaAgendamento::Diario   ? optOcuDaily
     : t.ocorre == TelaAgendamento::Mensal ? optOcuMonthly
                                           : optOcuWeekly)
        ->setChecked(true);
    scrDailyEvery->setValue(t.diarioCada);
    scrWeeklyEvery->setValue(t.semanalCada);
    for (int i = 0; i < 7; ++i)
        Dia(i)->setChecked(t.dias[i]);
    (t.mensalDia ? optMonthlyDay : optMonthlyThe)->setChecked(true);
    scrMonthlyDay->setValue(t.mensalDiaNumero);
    cmbMonthlyThe->setCurrentIndex(t.mensalOrdinal);
    cmbMonthlyTheWeek->setCurrentIndex(t.mensalDiaSemana);
    scrMonthlyEvery->setValue(t.mensalCada);
    (t.umaVez ? optDailyFreqOnce : optDailyFreqEvery)->setChecked(true);
    txtDailyFreqOnce->setText(t.horaUmaVez);
    scrDailyFreqEvery->setValue(t.cadaIntervalo);
    cmbDailyFreqEvery->setCurrentIndex(t.cadaUnidade);
    txtDailyFreqEveryFrom->setText(t.cadaDe);
    txtDailyFreqEveryTo->setText(t.cadaAte);
    txtDurationStart->setText(t.dataInicio);
    (t.semFim ? optDurationEndNo : optDurationEnd)->setChecked(true);
    txtDurationEnd->setText(t.dataFim);
    AtualizarEstado();
}

TelaAgendamento frmJobScheduleCad::Tela() const
{
    TelaAgendamento t;
    t.caption = windowTitle();
    t.nome = txtName->text();
    t.ocorre = optOcuDaily->isChecked()     ? TelaAgendamento::Diario
               : optOcuMonthly->isChecked() ? TelaAgendamento::Mensal
                                            : TelaAgendamento::Semanal;
    t.diarioCada = scrDailyEvery->value();
    t.semanalCada = scrWeeklyEvery->value();
    for (int i = 0; i < 7; ++i)
        t.dias[i] = Dia(i)->isChecked();
    t.mensalDia = optMonthlyDay->isChecked();
    t.mensalDiaNumero = scrMonthlyDay->value();
    t.mensalOrdinal = cmbMonthlyThe->currentIndex();
    t.mensalDiaSemana = cmbMonthlyTheWeek->currentIndex();
    t.mensalCada = scrMonthlyEvery->value();
    t.umaVez = optDailyFreqOnce->isChecked();
    t.horaUmaVez = txtDailyFreqOnce->text();
    t.cadaIntervalo = scrDailyFreqEvery->value();
    t.cadaUnidade = cmbDailyFreqEvery->currentIndex();
    t.cadaDe = txtDailyFreqEveryFrom->text();
    t.cadaAte = txtDailyFreqEveryTo->text();
    t.dataInicio = txtDurationStart->text();
    t.semFim = optDurationEndNo->isChecked();
    t.dataFim = txtDurationEnd->text();
    return t;
}

EditorAgendamento frmJobScheduleCad::Editor(clsPrompt& prompt, QWidget* pai)
{
    return [&prompt, pai](TelaAgendamento& tela) {
        frmJobScheduleCad janela(prompt, pai);
        janela.Aplicar(tela);
        if (!janela.ExibirModal())
            return false;
        tela = janela.Tela();
        return true;
    };
}

bool LoadByNode(clsJobSchedule& agenda, clsNo* noJob, clsNo* noJobSchedule)
{
    clsArvore& arvore = noJob->Arvore();
    const QString connStr = noJob->Parent()->Tag();
    QString agendaId;
    if (noJobSchedule) {
        agenda.Name = noJobSchedule->Text();
        agendaId = noJobSchedule->Tag();
    }
    if (!agenda.EditarDoJob(connStr, noJob->Tag(), agendaId))
        return false;
    AtualizarNoAgent(arvore,
                     noJobSchedule,
                     noJob,
                     noJob->Key() + QStringLiteral("Sch") + agendaId,
                     img::JobSchedule,
                     agenda.Name,
                     agendaId);
    return true;
}
