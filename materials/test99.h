#pragma once

// Video fragment viewer.

#include "platform/screen.h"

#include <QPointer>

class QTimer;

class TForm9 : public Screen {
    Q_OBJECT
public:
    explicit TForm9(QWidget* parent = nullptr);

protected:
    void closeEvent(QCloseEvent* event) override;
};

extern QPointer<TForm9> Form9;
