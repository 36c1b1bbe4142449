#pragma once

// Control test screen.

#include "platform/screen.h"

#include <QPointer>

class QTimer;

class TForm6 : public Screen {
    Q_OBJECT
public:
    explicit TForm6(QWidget* parent = nullptr);

protected:
    void closeEvent(QCloseEvent* event) override;
};

extern QPointer<TForm6> Form6;
