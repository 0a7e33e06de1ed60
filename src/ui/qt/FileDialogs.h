#pragma once
// The program's file dialog filters ("Text (*.txt)|*.txt|All (*.*)|*.*",
// description and pattern alternating) as Qt name filters.
#include <QStringList>
#include <string>

namespace zr::qt {

QStringList toQtNameFilters(const std::string& filter);

}  // namespace zr::qt
