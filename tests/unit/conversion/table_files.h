#pragma once
// Test helper: a scratch folder of sensor table files.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <string>
#include <utility>
#include <vector>

namespace tamble::test {

class TableFolder {
public:
    QString path() const { return m_dir.path(); }

    void write(const QString& name, const QByteArray& contents) const
    {
        QFile file(m_dir.filePath(name));
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(contents);
    }

    // A table with the usual three header lines and one line per point.
    void writeTable(const QString& name, char kind, const std::vector<std::pair<double, double>>& points) const
    {
        QByteArray text = "test table\r\n";
        text += kind;
        text += " kind\r\ncolumns\r\n";
        for (const auto& [engineering, measured] : points)
            text += QByteArray::number(engineering, 'g', 9) + "  " + QByteArray::number(measured, 'g', 9) + "\r\n";
        write(name, text);
    }

private:
    QTemporaryDir m_dir;
};

// `count` points with measured values descending from `top` by `step`
// and engineering values rising by 1 from 0.
inline std::vector<std::pair<double, double>> DescendingPoints(int count, double top, double step)
{
    std::vector<std::pair<double, double>> points;
    for (int i = 0; i < count; ++i)
        points.emplace_back(double(i), top - step * i);
    return points;
}

} // namespace tamble::test
