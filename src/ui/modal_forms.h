#pragma once
// The modal windows that the button bar opens.

#include <QDialog>
#include <memory>

namespace ui {

std::unique_ptr<QDialog> MakeFil(QWidget *parent);           // project files
std::unique_ptr<QDialog> MakeIndstillinger(QWidget *parent); // company and project data

} // namespace ui
