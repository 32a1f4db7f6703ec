#include "window/help_contexts.h"

namespace {

struct ContextRow {
    HelpWindow window;
    uint16_t control;
    uint32_t context;
};

constexpr ContextRow kContexts[] = {
    {HelpWindow::MainWindow, 1005, 39}, {HelpWindow::MainWindow, 1006, 40},
    {HelpWindow::MainWindow, 1007, 41}, {HelpWindow::MainWindow, 1008, 42},
    {HelpWindow::MainWindow, 1009, 43}, {HelpWindow::MainWindow, 1002, 44},
    {HelpWindow::MainWindow, 1001, 45}, {HelpWindow::MainWindow, 1003, 46},
    {HelpWindow::MainPage, 1004, 2},    {HelpWindow::MainPage, 1006, 3},
    {HelpWindow::MainPage, 1009, 4},    {HelpWindow::MainPage, 1011, 5},
    {HelpWindow::MainPage, 1013, 6},    {HelpWindow::MainPage, 1014, 8},
    {HelpWindow::MainPage, 1021, 11},   {HelpWindow::MainPage, 1023, 12},
    {HelpWindow::TonePage, 5004, 15},   {HelpWindow::TonePage, 5013, 17},
    {HelpWindow::TonePage, 5016, 18},   {HelpWindow::TonePage, 5019, 19},
    {HelpWindow::TonePage, 5021, 22},   {HelpWindow::FiltersPage, 6003, 14},
    {HelpWindow::FiltersPage, 6004, 15}, {HelpWindow::FiltersPage, 6005, 30},
    {HelpWindow::FiltersPage, 6006, 31}, {HelpWindow::FiltersPage, 6007, 32},
    {HelpWindow::FiltersPage, 6008, 33}, {HelpWindow::FiltersPage, 6009, 34},
    {HelpWindow::FiltersPage, 6010, 35}, {HelpWindow::FiltersPage, 6011, 36},
    {HelpWindow::FiltersPage, 6013, 37}, {HelpWindow::FiltersPage, 6012, 38},
};

constexpr ContextRow kTips[] = {
    {HelpWindow::MainPage, 1015, 361},   // "Calibrator"
    {HelpWindow::MainPage, 1028, 362},   // "Language"
    {HelpWindow::MainPage, 1030, 845},   // "Green Saver"
    {HelpWindow::TonePage, 5010, 344},   // "Histogram"
    {HelpWindow::TonePage, 5005, 340},   // "Channel"
    {HelpWindow::TonePage, 5009, 343},   // "Auto"
    {HelpWindow::TonePage, 5022, 363},   // "Next Page"
    {HelpWindow::ColourPage, 5124, 364}, // "Previous Page"
};

}  // namespace

uint32_t ToolTipText(HelpWindow window, uint16_t control) {
    for (const ContextRow& row : kTips)
        if (row.window == window && row.control == control) return row.context;
    return 0;
}

uint32_t HelpContext(HelpWindow window, uint16_t control) {
    for (const ContextRow& row : kContexts)
        if (row.window == window && row.control == control) return row.context;
    return 0;
}

std::string HelpFilePath(const std::string& windowsDirectory, uint16_t language) {
    static const char kLetters[] = "UDFIEN";
    const char letter = language < 6 ? kLetters[language] : 'U';
    return windowsDirectory + "\\TWAIN_32\\KVTC_A3\\CSHLP_" + letter + ".HLP";
}
