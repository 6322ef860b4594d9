#pragma once
// A scripted user for windows shown modally with exec(): acts once on the first modal window of
// the given type as soon as it is up.
#include <QApplication>
#include <QTimer>
#include <functional>

template <typename Janela> class UsuarioModal {
public:
    explicit UsuarioModal(std::function<void(Janela*)> agir) : m_agir(std::move(agir))
    {
        QObject::connect(&m_relogio, &QTimer::timeout, [this] {
            if (auto* j = qobject_cast<Janela*>(QApplication::activeModalWidget())) {
                m_relogio.stop();
                m_agir(j);
            }
        });
        m_relogio.start(10);
    }

private:
    std::function<void(Janela*)> m_agir;
    QTimer m_relogio;
};
