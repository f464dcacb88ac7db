#include "qt/editor_dialogs.h"

#include <QDialog>
#include <memory>

#include "qt/main_frame.h"  // completes the frame that qt_platform.h points to
#include "qt/qt_platform.h"
#include "ui/resource_ids.h"
#include "ui_apply_order_dialog.h"
#include "ui_compare_dialog.h"
#include "ui_favourites_dialog.h"
#include "ui_search_dialog.h"

namespace zoedit::qt {

void registerEditorDialogs(QtDialogs& dialogs) {
    dialogs.registerDialog(ui::IDD_SEARCH, [](QWidget* parent) {
        auto* dialog = new QDialog(parent);
        Ui::SearchDialog form;
        form.setupUi(dialog);
        return dialog;
    });
    // The favourites dialog opens at the size it had when last closed in this run.
    auto size = std::make_shared<QSize>();
    dialogs.registerDialog(ui::IDD_FAVORITES, [size](QWidget* parent) {
        auto* dialog = new QDialog(parent);
        Ui::FavouritesDialog form;
        form.setupUi(dialog);
        if (size->isValid()) dialog->resize(*size);
        QObject::connect(dialog, &QDialog::finished, dialog,
                         [size, dialog] { *size = dialog->size(); });
        return dialog;
    });
    dialogs.registerDialog(ui::IDD_APPLY_ORDER, [](QWidget* parent) {
        auto* dialog = new QDialog(parent);
        Ui::ApplyOrderDialog form;
        form.setupUi(dialog);
        return dialog;
    });
    dialogs.registerDialog(ui::IDD_COMPARE, [](QWidget* parent) {
        auto* dialog = new QDialog(parent);
        Ui::CompareDialog form;
        form.setupUi(dialog);
        return dialog;
    });
}

}  // namespace zoedit::qt
