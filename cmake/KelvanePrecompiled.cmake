# Qt's and GoogleTest's headers are most of what each source file parses: targets that include
# them parse them once, as a precompiled header.
set(KELVANE_PCH_STD <functional> <memory> <string> <string_view> <vector>)
set(KELVANE_PCH_QT <QtCore/QObject> <QtCore/QString> <QtGui/QTextDocument> <QtWidgets/QWidget>)

function(kelvane_precompile_qt target)
  target_precompile_headers(${target} PRIVATE ${KELVANE_PCH_QT} ${KELVANE_PCH_STD})
endfunction()

# Tests of code without a window.
function(kelvane_precompile_tests target)
  target_precompile_headers(${target} PRIVATE <gtest/gtest.h> ${KELVANE_PCH_STD})
endfunction()

# Tests that drive windows (they link Qt6::Test).
function(kelvane_precompile_window_tests target)
  target_precompile_headers(${target} PRIVATE
    <gtest/gtest.h> ${KELVANE_PCH_QT} <QtTest/QTest> ${KELVANE_PCH_STD})
endfunction()
