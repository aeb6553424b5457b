#pragma once
// The file dialogs' filters are written the Windows way:
// "Label|*.a;*.b;|Label2|*.c;" (label and pattern list alternate, patterns end
// with ";"). QFileDialog wants one "Label (*.a *.b)" string per filter.
#include <QStringList>
#include <string>

namespace orlisk {

// One Qt name filter per label/pattern pair, in order. Empty patterns are
// dropped; "*.*" (every file on Windows, dotted names only on Linux) becomes
// "*"; a label without patterns keeps all files. A trailing "|" is allowed.
QStringList QtNameFilters(const std::string& windowsFilter);

}  // namespace orlisk
