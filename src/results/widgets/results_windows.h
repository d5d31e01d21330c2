#pragma once
// The two results windows that the calculate command shows after a calculation.

#include <QDialog>
#include <memory>

namespace results {

std::unique_ptr<QDialog> MakeBeton(QWidget *parent);           // concrete slab results
std::unique_ptr<QDialog> MakeBrugerdefineret(QWidget *parent); // user-defined slab results

} // namespace results
