#pragma once
// "Limits": a low and a high limit for each recorded channel, each optional. OK keeps them beside
// the data file; a limit that is not a number, or a low limit at or above the high one, is refused.

#include "analysis/limits.h"

#include <QDialog>
#include <array>

class QLineEdit;

namespace tamble {

class MessageService;

class LimitsDialog : public QDialog {
    Q_OBJECT
public:
    LimitsDialog(MessageService& messages, QWidget* parent);

    // The channels shown (label, or empty for a channel not recorded) and their limits now.
    void prepare(const std::array<QString, 4>& labels, const LimitSet& limits);
    // Called with the accepted limits; returns the error text of keeping them (empty: kept).
    std::function<QString(const LimitSet&)> keep;

    QLineEdit* lowField(int channel) const { return m_low[static_cast<std::size_t>(channel - 1)]; }
    QLineEdit* highField(int channel) const { return m_high[static_cast<std::size_t>(channel - 1)]; }
    void accept() override;

private:
    MessageService& m_messages;
    std::array<QString, 4> m_labels;
    std::array<QLineEdit*, 4> m_low{};
    std::array<QLineEdit*, 4> m_high{};
    std::array<QWidget*, 4> m_rowLabels{};
};

} // namespace tamble
