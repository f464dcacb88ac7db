#include "qt/favourites_dialog.h"

#include <QDialog>
#include <memory>

#include "qt/main_frame.h"  // completes the frame that qt_platform.h points to
#include "qt/qt_platform.h"
#include "ui/resource_ids.h"
#include "ui_favourites_dialog.h"

namespace zoedit::qt {

void registerFavouritesDialog(QtDialogs& dialogs) {
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
}

}  // namespace zoedit::qt
