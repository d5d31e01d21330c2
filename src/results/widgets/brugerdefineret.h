#pragma once
// The results window of every slab type other than concrete: moments, bending stresses, insulation pressure,
// deflection, U-value and remarks.

#include "results/widgets/results_window.h"

namespace results {

class Brugerdefineret : public ResultsWindow {
    Q_OBJECT
public:
    explicit Brugerdefineret(QWidget *parent = nullptr);

    QLineEdit *RegIsoFak = nullptr;
    QLineEdit *RegIsoTil = nullptr;
    QLineEdit *RegFakMax = nullptr;
    QLineEdit *RegMaxTil = nullptr;
    QLineEdit *RegMinFak = nullptr;
    QLineEdit *RegMinTil = nullptr;

    void Form_Load() override;
};

} // namespace results
