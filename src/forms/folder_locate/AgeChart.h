#pragma once

#include <QWidget>
#include <array>

// Folders out by age as four bars, one per age band, each with its count: the clerk sees at a
// glance whether the old ones pile up.
class AgeChart : public QWidget
{
    Q_OBJECT
public:
    explicit AgeChart(QWidget *parent = nullptr);

    void SetCounts(const std::array<qint64, 4> &counts);
    const std::array<qint64, 4> &Counts() const { return m_counts; }

    QSize sizeHint() const override { return {360, 110}; }

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    std::array<qint64, 4> m_counts{};
};
