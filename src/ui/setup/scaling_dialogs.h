#pragma once
// The scaling dialogs of the setup window in one place. The window hands over a choice in a
// channel's scaling list; when the choice is one of the three dialog entries (5 "New Linear
// Scale:", 7 "Custom Table:", 11 "New values Cls/opn:") the matching dialog opens on that channel
// without blocking, and scalingFinished() reports how it ended:
//   accepted: records.setup already holds the channel's new scaling (code and LinearValues or
//             TableName); the window puts `entryText` at `listIndex` (4, 6 or 10) of the
//             channel's list, selects it and makes it the channel's last accepted index;
//   cancelled: nothing changed; the window puts all four lists back to their last accepted
//             indexes.

#include "setup/scaling_dialog_rules.h"

#include <QObject>
#include <QString>

class QWidget;

namespace tamble {

class MessageService;
class HelpService;
class LinearScaleDialog;
class ContactClosureDialog;
class SelectTableDialog;

struct ScalingChoice;

class ScalingDialogs : public QObject {
    Q_OBJECT
public:
    // The dialogs are created once, as children of `window` (modal over it); without a window
    // they are top-level and this object deletes them.
    ScalingDialogs(const ScalingRecords& records, MessageService& messages, HelpService& help, QWidget* window);
    ~ScalingDialogs() override;

    // Opens the dialog the choice `listIndex` in channel `channel`'s list calls for; false (and
    // nothing opens) when the entry is a scaling itself. `linearEntry` is the current text of
    // entry 4 of that list ("Linear: lo / hi"), the old scale the adjust calculator starts from;
    // empty: the channel's LinearValues in records.setup.
    bool startFor(int channel, int listIndex, const QString& linearEntry = QString());

    // The dialog the setup window's choice calls for, run to its end: true when it wrote the
    // channel's scaling into the setup and `choice` took its entry.
    bool runFor(int channel, ScalingChoice& choice);

    LinearScaleDialog& linearScale() { return *m_linear; }
    ContactClosureDialog& contactClosure() { return *m_contact; }
    SelectTableDialog& selectTable() { return *m_select; }

signals:
    void scalingFinished(int channel, bool accepted, int listIndex, const QString& entryText);

private:
    LinearScaleDialog* m_linear = nullptr;
    ContactClosureDialog* m_contact = nullptr;
    SelectTableDialog* m_select = nullptr;
};

} // namespace tamble
