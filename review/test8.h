#pragma once

// Answer review screen.

#include "platform/screen.h"

#include <QPointer>

class QTimer;

class TForm8 : public Screen {
    Q_OBJECT
public:
    explicit TForm8(QWidget* parent = nullptr);

protected:
    void closeEvent(QCloseEvent* event) override;
};

extern QPointer<TForm8> Form8;
