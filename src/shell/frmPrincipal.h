#pragma once
#include <QMainWindow>

class QApplication;

class frmPrincipal : public QMainWindow {
    Q_OBJECT
public:
    explicit frmPrincipal(QWidget* pai = nullptr);
    static int Executar(QApplication& app);
};
