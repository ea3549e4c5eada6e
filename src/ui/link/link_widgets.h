#pragma once
// Small helpers the link windows share to build named, accessible controls.

#include "util/dialog_buttons.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QWidget>

namespace tamble::ui {

// Text without the "&" of its mnemonic, as a screen reader should say it.
inline QString PlainCaption(const QString& caption)
{
    return WithoutMnemonic(caption).trimmed();
}

// A read-only text box of about `chars` characters. It looks read-only: the window's face colour
// instead of the white of a field that takes input (its text can still be selected and copied).
inline QLineEdit* ReadOnlyBox(QWidget* parent, const QString& name, const QString& accessible, int chars)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    QPalette look = box->palette();
    look.setColor(QPalette::Base, look.color(QPalette::Window));
    box->setPalette(look);
    box->setAccessibleName(accessible);
    box->setMinimumWidth(box->fontMetrics().averageCharWidth() * chars + 12);
    return box;
}

// A label for `field`: its buddy, and the field's accessible name is the caption.
inline QLabel* BuddyLabel(QWidget* parent, const QString& caption, QWidget* field, const QString& name = QString())
{
    auto* label = new QLabel(caption, parent);
    if (!name.isEmpty())
        label->setObjectName(name);
    label->setBuddy(field);
    field->setAccessibleName(PlainCaption(caption));
    return label;
}

inline QPushButton* Button(QWidget* parent, const QString& caption, const QString& name)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAccessibleName(PlainCaption(caption));
    button->setAutoDefault(false);
    return button;
}

} // namespace tamble::ui
