#pragma once

#include "Bindings.h"
#include "ErrorReport.h"
#include "HelpText.h"
#include "WidgetEvents.h"

#include <QRect>
#include <QString>
#include <functional>
#include <optional>

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

// What a change of a control does: runs its named handler, or writes the setting it is bound to.
template <class Page> struct Behaviour
{
    Behaviour() = default;
    Behaviour(void (Page::*handler)()) : handler(handler) {}
    Behaviour(Bound bound) : bound(std::move(bound)) {}
    Behaviour(Bound bound, void (Page::*handler)()) : handler(handler), bound(std::move(bound)) {}

    void (Page::*handler)() = nullptr;
    std::optional<Bound> bound;
};

// A control that start-up shows from its setting, as a bound one, and whose change runs its
// named handler, because it does more than write the setting.
template <class Page> Behaviour<Page> Irregular(Setting setting, void (Page::*handler)())
{
    return {Bound{std::move(setting)}, handler};
}

// One control of a page as a row of the table that builds it: the member that holds it, its
// name, geometry and caption, what a change of it does and its help text (empty: none).
template <class Page, class Control> struct ControlRow
{
    Control* Page::*member;
    const char* name;
    QRect geometry;
    QString caption;
    Behaviour<Page> does = {};
    QString help = {};
};

// Makes the rows' controls in the parent, in order, and connects their handlers, bindings and
// help texts.
template <class Page, class Control, std::size_t N>
void Build(Page* page, QWidget* parent, const ControlRow<Page, Control> (&rows)[N])
{
    for (const ControlRow<Page, Control>& row : rows) {
        Control* control = Named<Control>(parent, row.name, row.geometry);
        SetCaption(control, row.caption);
        page->*row.member = control;
        if (row.does.handler) {
            OnChange(control, Handler(page, row.does.handler));
        } else if constexpr (requires(const Bound& bound) { WriteBound(bound, control); }) {
            if (const std::optional<Bound>& bound = row.does.bound)
                OnChange(control, [control, bound = *bound] {
                    RunHandler([&] { WriteBound(bound, control); });
                });
        }
        if (!row.help.isEmpty()) OnMouseMove(control, [help = row.help] { ShowHelpText(help); });
    }
}

// Loads the bound rows of a table, in its order: each registry setting as its own guarded step,
// each profile entry within the step that calls this. The start-up order of reads and
// write-backs is the system's, so where the reader takes a group's boxes apart, the group's
// table is split into the runs it reads, built one after the other into the same parent.
template <class Page, class Control, std::size_t N>
void LoadRows(TRegistry& reg, const ControlRow<Page, Control> (&rows)[N], Page* page)
{
    for (const ControlRow<Page, Control>& row : rows)
        if (row.does.bound) LoadBound(reg, row.does.bound->setting, page->*row.member);
}
