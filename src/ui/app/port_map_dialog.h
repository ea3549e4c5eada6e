#pragma once
// Chooser of the device a COM port leads to: the detected serial devices (stable names first) and
// the default device, which removes the port's line from "ports.ini".

#include "settings/port_map.h"

#include <QDialog>

#include <vector>

class QLabel;
class QListWidget;
class QPushButton;

namespace tamble {

class PortMapDialog : public QDialog {
    Q_OBJECT
public:
    explicit PortMapDialog(QWidget* parent = nullptr);

    // Fills the list for COM `number`; the entry of `current` is selected when listed.
    void setChoices(int number, const QString& current, const std::vector<SerialChoice>& choices);

    int portNumber() const { return m_number; }
    // The device chosen; empty when the default was chosen (the mapping is removed).
    QString chosenDevice() const;

private:
    QLabel* m_label = nullptr;
    QLabel* m_note = nullptr;
    QListWidget* m_list = nullptr;
    QPushButton* m_ok = nullptr;
    int m_number = 1;
};

} // namespace tamble
