#pragma once
// The results window of a concrete slab: moments, capacity, insulation pressure, deflection, U-value, remarks
// and the bottom and top reinforcement for both steel types.

#include "results/widgets/results_window.h"

#include <array>

namespace results {

class Beton : public ResultsWindow {
    Q_OBJECT
public:
    explicit Beton(QWidget *parent = nullptr);

    QLineEdit *RegKapUarm = nullptr;
    QLineEdit *FakIso = nullptr;
    QLineEdit *TilIso = nullptr;
    // The reinforcement grids, index 0 the row of diameter 6.
    std::array<QLineEdit *, 5> UMA{}, UAC{}, UAATS{}, UACTS{};
    std::array<QLineEdit *, 5> OAA{}, OAC{}, OAATS{}, OACTS{};

    void Form_Load() override;

private:
    void ReinforcementFrame(const QString &name, const QString &caption, int top,
                            std::array<std::array<QLineEdit *, 5> *, 4> columns,
                            const std::array<const char *, 4> &names);
};

} // namespace results
