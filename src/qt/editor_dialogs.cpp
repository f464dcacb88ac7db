#include "qt/editor_dialogs.h"

#include <QDialog>

#include "qt/main_frame.h"  // completes the frame that qt_platform.h points to
#include "qt/qt_platform.h"
#include "ui/resource_ids.h"
#include "ui_search_dialog.h"

namespace zoedit::qt {

void registerEditorDialogs(QtDialogs& dialogs) {
    dialogs.registerDialog(ui::IDD_SEARCH, [](QWidget* parent) {
        auto* dialog = new QDialog(parent);
        Ui::SearchDialog form;
        form.setupUi(dialog);
        return dialog;
    });
}

}  // namespace zoedit::qt
