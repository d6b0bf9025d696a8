#include "Controls.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

QGroupBox* NewGroupBox(QWidget* parent, const char* name, const QString& title, QRect geometry)
{
    auto* box = Named<QGroupBox>(parent, name, geometry);
    box->setTitle(title);
    return box;
}

QLabel* NewLabel(QWidget* parent, const char* name, const QString& caption, QRect geometry)
{
    auto* label = Named<QLabel>(parent, name, geometry);
    label->setText(caption);
    return label;
}

QLabel* NewText(QWidget* parent, const char* name, const QString& caption, QRect geometry)
{
    QLabel* label = NewLabel(parent, name, caption, geometry);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

void MakeSpeedButton(QPushButton* button)
{
    button->setFlat(true);
    button->setAutoDefault(false);
    button->setDefault(false);
    // Like the desktop's speed buttons, it takes no focus, so it never draws a focus frame.
    button->setFocusPolicy(Qt::NoFocus);
    OnEvent(button, QEvent::Enter, [button] { button->setFlat(false); });
    OnEvent(button, QEvent::Leave, [button] { button->setFlat(true); });
}

void SetCaption(QAbstractButton* control, const QString& caption) { control->setText(caption); }

void SetCaption(QLabel* control, const QString& caption) { control->setText(caption); }

void SetCaption(QWidget*, const QString&) {}

void OnChange(QCheckBox* control, std::function<void()> handler)
{
    QObject::connect(control, &QCheckBox::toggled, control, [handler](bool) { handler(); });
}

void OnChange(QRadioButton* control, std::function<void()> handler)
{
    QObject::connect(control, &QRadioButton::toggled, control, [handler](bool on) {
        if (on) handler();
    });
}

void OnChange(QPushButton* control, std::function<void()> handler)
{
    QObject::connect(control, &QPushButton::clicked, control, [handler] { handler(); });
}

void OnChange(QSpinBox* control, std::function<void()> handler)
{
    QObject::connect(control, &QSpinBox::textChanged, control, [handler] { handler(); });
}

void OnChange(QLineEdit* control, std::function<void()> handler)
{
    QObject::connect(control, &QLineEdit::textChanged, control, [handler] { handler(); });
}
