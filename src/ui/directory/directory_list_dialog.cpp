#include "ui/directory/directory_list_dialog.h"

#include "directory/directory_list_rules.h"
#include "util/user_dialog.h"
#include "util/dialog_buttons.h"

#include <QApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace tamble {

namespace {

QLabel* BuddyLabel(const QString& caption, QWidget* field, const QString& labelName)
{
    auto* label = new QLabel(caption);
    label->setObjectName(labelName);
    label->setBuddy(field);
    field->setAccessibleName(WithoutMnemonic(caption));
    return label;
}

} // namespace

DirectoryListDialog::DirectoryListDialog(std::unique_ptr<DirectoryListRules> rules, HelpService& help,
                                         QWidget* parent)
    : QDialog(parent), m_rules(std::move(rules)), m_help(help)
{
    const DirectoryListTexts& texts = m_rules->texts();
    setWindowTitle(texts.caption);

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("ListBox1"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_edit1 = new QLineEdit(this);
    m_edit1->setObjectName(QStringLiteral("Edit1"));
    m_edit1->setMaxLength(LayoutOf(DirectoryList::Phone).nameWidth);
    m_edit2 = new QLineEdit(this);
    m_edit2->setObjectName(QStringLiteral("Edit2"));
    m_edit2->setMaxLength(LayoutOf(DirectoryList::Phone).valueWidth);
    m_edit2->setMinimumWidth(260);

    auto* left = new QVBoxLayout;
    left->addWidget(BuddyLabel(QStringLiteral("S&elect"), m_list, QStringLiteral("SelectLabel")));
    left->addWidget(m_list);

    auto* fields = new QFormLayout;
    fields->addRow(BuddyLabel(QStringLiteral("&Name"), m_edit1, QStringLiteral("NameLabel")), m_edit1);
    fields->addRow(BuddyLabel(texts.valueLabel, m_edit2, QStringLiteral("ValueLabel")), m_edit2);

    m_buttons = new QHBoxLayout;
    connect(makeButton(QStringLiteral("&Insert"), QStringLiteral("InsertBtn")), &QPushButton::clicked, this,
            &DirectoryListDialog::insertBtnClick);
    connect(makeButton(QStringLiteral("&Modify"), QStringLiteral("ModifyBtn")), &QPushButton::clicked, this,
            &DirectoryListDialog::modifyBtnClick);
    connect(makeButton(QStringLiteral("&Delete"), QStringLiteral("DeleteBtn")), &QPushButton::clicked, this,
            &DirectoryListDialog::deleteBtnClick);

    auto* right = new QVBoxLayout;
    right->addLayout(fields);
    right->addLayout(m_buttons);
    right->addStretch();

    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addLayout(right, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    const int helpContext = texts.helpContext;
    auto addBottom = [&](const QString& caption, const QString& name) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAccessibleName(WithoutMnemonic(caption));
        b->setAutoDefault(false);
        bottom->addWidget(b);
        return b;
    };
    QPushButton* ok = addBottom(QStringLiteral("OK"), QStringLiteral("OKBtn"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &DirectoryListDialog::OKBtnClick);
    connect(addBottom(QStringLiteral("Cancel"), QStringLiteral("CancelBtn")), &QPushButton::clicked, this,
            &QDialog::reject);
    connect(addBottom(QStringLiteral("&Help"), QStringLiteral("HelpBtn")), &QPushButton::clicked, this,
            [this, helpContext] { m_help.showHelp(helpContext); });

    auto* outer = new QVBoxLayout(this);
    outer->addLayout(top);
    outer->addLayout(bottom);

    connect(m_list, &QListWidget::currentRowChanged, this, &DirectoryListDialog::listRowChanged);

    // Creation: the list as the file holds it, selected from the settings. A file that cannot be
    // read is reported when the window is shown, not while the program starts.
    m_rules->show(false);
    refresh();
}

DirectoryListDialog::~DirectoryListDialog() = default;

QString DirectoryListDialog::selectedName() const
{
    return m_rules->selectedName();
}

QPushButton* DirectoryListDialog::makeButton(const QString& caption, const QString& name)
{
    auto* b = new QPushButton(caption, this);
    b->setObjectName(name);
    b->setAccessibleName(WithoutMnemonic(caption));
    b->setAutoDefault(false);
    m_buttons->addWidget(b);
    return b;
}

void DirectoryListDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    m_rules->show();
    refresh();
}

void DirectoryListDialog::refresh()
{
    m_filling = true;
    m_list->clear();
    m_list->addItems(m_rules->names());
    m_list->setCurrentRow(m_rules->selected());
    m_edit1->setText(m_rules->nameField());
    m_edit2->setText(m_rules->valueField());
    m_filling = false;
}

void DirectoryListDialog::react(ListReaction reaction)
{
    switch (reaction) {
    case ListReaction::Beep: QApplication::beep(); break;
    case ListReaction::FocusName: m_edit1->setFocus(); break;
    case ListReaction::FocusValue: m_edit2->setFocus(); break;
    case ListReaction::None: break;
    }
}

void DirectoryListDialog::takeFields()
{
    m_rules->setFields(m_edit1->text(), m_edit2->text());
}

void DirectoryListDialog::listRowChanged(int row)
{
    if (m_filling)
        return;
    m_rules->select(row);
    m_edit1->setText(m_rules->nameField());
    m_edit2->setText(m_rules->valueField());
}

void DirectoryListDialog::insertBtnClick()
{
    takeFields();
    const ListReaction reaction = m_rules->insert();
    refresh();
    react(reaction);
}

void DirectoryListDialog::modifyBtnClick()
{
    takeFields();
    const ListReaction reaction = m_rules->modify();
    refresh();
    react(reaction);
}

void DirectoryListDialog::deleteBtnClick()
{
    takeFields();
    const ListReaction reaction = m_rules->remove();
    refresh();
    react(reaction);
}

void DirectoryListDialog::OKBtnClick()
{
    m_rules->accept();
    accept();
}

} // namespace tamble
