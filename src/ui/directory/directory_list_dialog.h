#pragma once
// The window shared by the phone list and the two modem lists: a sorted list of names, the name
// and value fields, Insert, Modify, Delete, OK, Cancel and Help. Every rule lives in
// DirectoryListRules; this class only copies controls to and from it.

#include <QDialog>
#include <memory>

class QHBoxLayout;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace tamble {

// Declared only: these headers stay light for every window that opens a list.
class DirectoryListRules;
class HelpService;
class MessageService;
struct SettingsRecord;
enum class ListReaction;

class DirectoryListDialog : public QDialog {
    Q_OBJECT
public:
    DirectoryListDialog(std::unique_ptr<DirectoryListRules> rules, HelpService& help, QWidget* parent);
    ~DirectoryListDialog() override;

    // The name of the selected entry (empty: none).
    QString selectedName() const;

protected:
    void showEvent(QShowEvent* event) override;
    DirectoryListRules& rules() { return *m_rules; }
    // The row of buttons, for a list that adds its own.
    QHBoxLayout* buttonRow() const { return m_buttons; }
    QLineEdit* valueField() const { return m_edit2; }
    QPushButton* makeButton(const QString& caption, const QString& name);

private:
    void refresh();
    void react(ListReaction reaction);
    void takeFields();
    void listRowChanged(int row);
    void insertBtnClick();
    void modifyBtnClick();
    void deleteBtnClick();
    void OKBtnClick();

    std::unique_ptr<DirectoryListRules> m_rules;
    HelpService& m_help;
    QListWidget* m_list = nullptr;
    QLineEdit* m_edit1 = nullptr;
    QLineEdit* m_edit2 = nullptr;
    QHBoxLayout* m_buttons = nullptr;
    bool m_filling = false;
};

} // namespace tamble
