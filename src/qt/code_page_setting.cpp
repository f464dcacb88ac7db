#include "qt/code_page_setting.h"

#include <QSettings>

namespace zoedit::qt {

namespace {
const char kKey[] = "names/codePage";
}

int codePageIndex(CodePage page) {
    switch (page) {
        case CodePage::Windows1252:
            return 1;
        case CodePage::Latin1:
            return 2;
        case CodePage::Windows1256:
            break;
    }
    return 0;
}

CodePage codePageFromIndex(int index) {
    switch (index) {
        case 1:
            return CodePage::Windows1252;
        case 2:
            return CodePage::Latin1;
        default:
            return CodePage::Windows1256;
    }
}

CodePage loadCodePage() {
    QSettings settings;
    return codePageFromIndex(settings.value(QLatin1String(kKey), 0).toInt());
}

void storeCodePage(CodePage page) {
    QSettings settings;
    settings.setValue(QLatin1String(kKey), codePageIndex(page));
}

}  // namespace zoedit::qt
