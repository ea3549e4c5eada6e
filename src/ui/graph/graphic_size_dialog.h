#pragma once
// "Picture Size": width and height of a graphic export, and for a PNG the
// choice of twice the pixels for high-density screens.

#include "graph/graphic_export.h"

#include <QDialog>

class QCheckBox;
class QSpinBox;

namespace tamble {

class GraphicSizeDialog : public QDialog {
    Q_OBJECT
public:
    GraphicSizeDialog(GraphicFormat format, int width, int height, QWidget* parent = nullptr);

    GraphicSize size() const;

private:
    GraphicFormat m_format;
    QSpinBox* m_width = nullptr;
    QSpinBox* m_height = nullptr;
    QCheckBox* m_twice = nullptr;
};

} // namespace tamble
