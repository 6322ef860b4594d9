#include "clsExecucao.h"

#include <QElapsedTimer>
#include <QThread>
#include <QTimer>

namespace {
// How often the engine's interrupt is repeated while a stop waits for the worker to end.
constexpr int RepeticaoInterrupcaoMs = 50;
} // namespace

clsExecucao::clsExecucao(QObject* pai) : QObject(pai)
{
    m_repetirInterrupcao = new QTimer(this);
    m_repetirInterrupcao->setInterval(RepeticaoInterrupcaoMs);
    connect(m_repetirInterrupcao, &QTimer::timeout, this, [this] {
        if (m_motor)
            m_motor->Interromper();
    });
}

clsExecucao::~clsExecucao()
{
    if (!m_linha)
        return;
    Parar();
    m_linha->wait();
    delete m_linha;
}

void clsExecucao::Postar(std::function<void()> f)
{
    QMetaObject::invokeMethod(this, std::move(f), Qt::QueuedConnection);
}

bool clsExecucao::Comecar(std::shared_ptr<clsMotor> motor, std::function<void()> corpo)
{
    if (m_linha)
        return false;
    m_motor = std::move(motor);
    m_estado = std::make_shared<Estado>();
    m_linha = QThread::create([this, motor = m_motor, parar = m_estado->parar, corpo = std::move(corpo)] {
        if (motor)
            motor->DefinirParada(parar);
        corpo();
        if (motor) {
            motor->DefinirParada(nullptr);
            motor->DefinirEntregaLinhas({});
        }
    });
    m_linha->setObjectName(QStringLiteral("clsExecucao"));
    m_linha->start();
    return true;
}

// In this object's thread, after the worker's last report: the thread is done with the connection.
void clsExecucao::Terminou()
{
    m_repetirInterrupcao->stop();
    if (m_linha) {
        m_linha->wait();
        delete m_linha;
        m_linha = nullptr;
    }
    m_motor.reset();
}

bool clsExecucao::Iniciar(const Pedido& pedido)
{
    if (!pedido.motor)
        return false;
    return Comecar(pedido.motor, [this, pedido] {
        Fim fim = RodarScript(pedido);
        Postar([this, fim] {
            Terminou();
            emit Concluida(fim);
        });
    });
}

bool clsExecucao::IniciarTrabalho(std::shared_ptr<clsMotor> motor, Trabalho trabalho)
{
    return Comecar(std::move(motor), [this, trabalho = std::move(trabalho)] {
        const std::atomic<bool>& parar = *m_estado->parar;
        const bool ok = trabalho(parar);
        const bool interrompido = parar.load();
        Postar([this, ok, interrompido] {
            Terminou();
            emit TrabalhoConcluido(ok, interrompido);
        });
    });
}

void clsExecucao::InformarProgresso(qint64 feito)
{
    Postar([this, feito] { emit Progresso(feito); });
}

void clsExecucao::Parar()
{
    if (!m_linha || !m_estado)
        return;
    m_estado->parar->store(true);
    {
        std::lock_guard trava(m_estado->mtx);
        if (m_estado->resposta < 0)
            m_estado->resposta = 0;
    }
    m_estado->cv.notify_all();
    if (m_motor) {
        m_motor->Interromper();
        m_repetirInterrupcao->start();
    }
}

void clsExecucao::Responder(bool continuar)
{
    if (!m_estado)
        return;
    {
        std::lock_guard trava(m_estado->mtx);
        m_estado->resposta = continuar ? 1 : 0;
    }
    m_estado->cv.notify_all();
}

bool clsExecucao::PerguntarNoTrabalhador(int lote, const QString& sql, const ErroDados& erro)
{
    Estado& e = *m_estado;
    {
        std::lock_guard trava(e.mtx);
        if (e.parar->load())
            return false;
        e.resposta = -1;
    }
    Postar([this, lote, sql, erro] { emit Pergunta(lote, sql, erro); });
    std::unique_lock trava(e.mtx);
    e.cv.wait(trava, [&e] { return e.resposta >= 0; });
    return e.resposta == 1 && !e.parar->load();
}

clsExecucao::Fim clsExecucao::RodarScript(const Pedido& pedido)
{
    clsMotor& motor = *pedido.motor;
    const std::atomic<bool>& parar = *m_estado->parar;
    Fim fim;
    fim.total = int(pedido.lotes.size());
    fim.ok = true;
    QElapsedTimer relogio;
    relogio.start();
    for (int i = 0; i < fim.total; ++i) {
        if (parar.load()) {
            fim.ok = false;
            fim.interrompida = true;
            break;
        }
        Postar([this, i, total = fim.total] { emit LoteIniciado(i, total); });
        qint64 linhas = 0, bytes = 0;
        motor.DefinirEntregaLinhas([&, i](std::shared_ptr<clsRecordsetDados> bloco) {
            linhas += qint64(bloco->QtdeLinhas());
            bytes += qint64(bloco->BytesLinhas());
            if ((pedido.limiteLinhas > 0 && linhas > pedido.limiteLinhas)
                || (pedido.limiteBytes > 0 && bytes > pedido.limiteBytes)) {
                fim.passouDoLimite = true;
                m_estado->parar->store(true);
            }
            Postar([this, i, bloco = std::move(bloco)] { emit Bloco(i, bloco); });
        });
        RecordsetPtr rs;
        long afetados = -1;
        const QString& sql = pedido.lotes.at(i);
        const bool ok = motor.Executar(sql, &rs, pedido.lockType, &afetados);
        motor.DefinirEntregaLinhas({});
        fim.loteLinhas = i;
        if (ok) {
            fim.rs = rs && rs->State() == ado::adStateOpen ? rs : nullptr;
            fim.afetados = afetados < 0 ? 0 : afetados;
            fim.afetadosLotes << fim.afetados;
            continue;
        }
        fim.rs.reset();
        fim.ok = false;
        if (fim.passouDoLimite)
            break;
        if (parar.load() || motor.Erro().numero == ado::ErrInterrompida) {
            fim.interrompida = true;
            break;
        }
        fim.loteFalho = i;
        fim.sqlFalho = sql;
        fim.erro = motor.Erro();
        if (!pedido.perguntarAoFalhar || !PerguntarNoTrabalhador(i, sql, fim.erro)) {
            fim.interrompida = parar.load();
            break;
        }
        // Going on forgives the failure, as long as no later batch fails.
        fim.ok = true;
        fim.loteFalho = -1;
    }
    fim.segundos = double(relogio.elapsed()) / 1000.0;
    return fim;
}
