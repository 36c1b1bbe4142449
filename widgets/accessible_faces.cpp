// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/accessible_faces.h"

#include "widgets/keyboard_cues.h"
#include "widgets/toggle_button.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QStyle>

namespace {

QString Unspaced(QString text) {
    return text.simplified();
}

void SendSpace(QWidget* widget) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QCoreApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QCoreApplication::sendEvent(widget, &release);
}

class PressableFace : public QAccessibleWidget {
public:
    explicit PressableFace(QWidget* widget) : QAccessibleWidget(widget, QAccessible::Button) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name) {
            if (!widget()->accessibleName().isEmpty())
                return widget()->accessibleName();
            if (auto* label = qobject_cast<QLabel*>(widget()))
                return Unspaced(label->text());
        }
        return QAccessibleWidget::text(kind);
    }
    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == pressAction())
            Press();
        else
            QAccessibleWidget::doAction(action);
    }

protected:
    virtual void Press() {
        if (widget()->isEnabled())
            SendSpace(widget());
    }
};

class ToggleButtonFace : public PressableFace {
public:
    explicit ToggleButtonFace(TabcToggleBtn* button) : PressableFace(button) {}

    QString text(QAccessible::Text kind) const override {
        const auto* button = static_cast<const TabcToggleBtn*>(widget());
        if (kind == QAccessible::Name && button->accessibleName().isEmpty())
            return button->Caption();
        if (kind == QAccessible::Accelerator)
            return button->Shortcut().toString(QKeySequence::NativeText);
        return PressableFace::text(kind);
    }
    QAccessible::State state() const override {
        QAccessible::State state = PressableFace::state();
        state.pressed = static_cast<const TabcToggleBtn*>(widget())->Down();
        return state;
    }
    QStringList keyBindingsForAction(const QString& action) const override {
        const auto* button = static_cast<const TabcToggleBtn*>(widget());
        if (action == pressAction() && !button->Shortcut().isEmpty())
            return {button->Shortcut().toString(QKeySequence::NativeText)};
        return PressableFace::keyBindingsForAction(action);
    }

protected:
    void Press() override { static_cast<TabcToggleBtn*>(widget())->Press(); }
};

QAccessibleInterface* FaceOf(const QString& className, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr)
        return nullptr;
    // A bare panel is a pane. Qt names it a frame, which screen readers take for a window: Orca
    // took the outermost panel of a screen for the window, found it inactive and said nothing of
    // the fields inside. Asked by class name, so that labels and other frames keep their faces.
    if (className == QLatin1String("QFrame"))
        return new QAccessibleWidget(widget, QAccessible::Pane);
    if (auto* button = qobject_cast<TabcToggleBtn*>(widget))
        return new ToggleButtonFace(button);
    if (qobject_cast<Announcement*>(widget) != nullptr)
        return new QAccessibleWidget(widget, QAccessible::Notification);
    if (qobject_cast<PressableLabel*>(widget) != nullptr)
        return new PressableFace(widget);
    return nullptr;
}

} // namespace

void InstallAccessibleFaces() {
    static const bool installed = [] {
        QAccessible::installFactory(FaceOf);
        return true;
    }();
    Q_UNUSED(installed);
}

PressableLabel::PressableLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    InstallAccessibleFaces();
    setFocusPolicy(Qt::TabFocus);
    connect(&KeyboardCues::Instance(), &KeyboardCues::Changed, this, [this] {
        if (hasFocus())
            update();
    });
}

void PressableLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawFrame(&painter);
    const int alignment = int(QStyle::visualAlignment(layoutDirection(), this->alignment()));
    style()->drawItemText(&painter, contentsRect(), alignment | Qt::TextForceLeftToRight,
                          palette(), isEnabled(), text(), foregroundRole());
    if (hasFocus() && KeyboardCues::Instance().Shown()) {
        painter.setPen(QPen(palette().color(foregroundRole()), 1, Qt::DotLine));
        painter.drawRect(contentsRect().adjusted(2, 2, -3, -3));
    }
}

Announcement::Announcement(QWidget* parent) : QWidget(parent) {
    InstallAccessibleFaces();
    setObjectName(QStringLiteral("Announcement"));
    setAttribute(Qt::WA_TransparentForMouseEvents, true);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(0, 0, 1, 1); // paints nothing: the screen shows through
    hide();
}

void Announcement::Say(const QString& text) {
    setAccessibleName(text);
    // A notification that comes into view is read out (AT-SPI); an alert is for the readers that
    // listen for those.
    hide();
    show();
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}
