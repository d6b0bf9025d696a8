#pragma once

#include "ErrorReport.h"
#include "HelpText.h"
#include "WidgetEvents.h"

#include <QRect>
#include <QString>
#include <functional>

class QAbstractButton;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QWidget;

// A control made with its object name (its member's name, so tests find it), parent and geometry.
template <class Control> Control* Named(QWidget* parent, const char* name, QRect geometry)
{
    auto* control = new Control(parent);
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(geometry);
    return control;
}
QGroupBox* NewGroupBox(QWidget* parent, const char* name, const QString& title, QRect geometry);
QLabel* NewLabel(QWidget* parent, const char* name, const QString& caption, QRect geometry);
// A label whose text wraps at its width, from its top left corner.
QLabel* NewText(QWidget* parent, const char* name, const QString& caption, QRect geometry);

// A flat button as this desktop draws one: no frame until the mouse is over it, and never the
// frame of a default button.
void MakeSpeedButton(QPushButton* button);

// A control's caption, whatever kind of control it is.
void SetCaption(QAbstractButton* control, const QString& caption);
void SetCaption(QLabel* control, const QString& caption);
void SetCaption(QWidget* control, const QString& caption); // controls without one: nothing

// Runs a handler on a change of the control made by the user or from code: a check box's
// state, a radio button becoming selected, a button's click, a field's text.
void OnChange(QCheckBox* control, std::function<void()> handler);
void OnChange(QRadioButton* control, std::function<void()> handler);
void OnChange(QPushButton* control, std::function<void()> handler);
void OnChange(QSpinBox* control, std::function<void()> handler);
void OnChange(QLineEdit* control, std::function<void()> handler);

// One control of a page as a row of the table that builds it: the member that holds it, its
// name, geometry and caption, its named handler and its help text (empty: none).
template <class Page, class Control> struct ControlRow
{
    Control* Page::*member;
    const char* name;
    QRect geometry;
    QString caption;
    void (Page::*handler)() = nullptr;
    QString help = {};
};

// Makes the rows' controls in the parent, in order, and connects their handlers and help texts.
template <class Page, class Control, std::size_t N>
void Build(Page* page, QWidget* parent, const ControlRow<Page, Control> (&rows)[N])
{
    for (const ControlRow<Page, Control>& row : rows) {
        Control* control = Named<Control>(parent, row.name, row.geometry);
        SetCaption(control, row.caption);
        page->*row.member = control;
        if (row.handler) OnChange(control, Handler(page, row.handler));
        if (!row.help.isEmpty()) OnMouseMove(control, [help = row.help] { ShowHelpText(help); });
    }
}
