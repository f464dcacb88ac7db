#include "qt/link_dialogs.h"

#include <QDialog>

#include "qt/main_frame.h"  // completes the frame that qt_platform.h points to
#include "qt/qt_platform.h"
#include "ui/resource_ids.h"
#include "ui_download_progress_dialog.h"
#include "ui_port_settings_dialog.h"
#include "ui_upload_progress_dialog.h"

namespace zoedit::qt {

namespace {

template <typename Form>
QDialog* build(QWidget* parent) {
    auto* dialog = new QDialog(parent);
    Form form;
    form.setupUi(dialog);
    return dialog;
}

}  // namespace

void registerLinkDialogs(QtDialogs& dialogs) {
    dialogs.registerDialog(ui::IDD_PORT_SETTINGS, &build<Ui::PortSettingsDialog>);
    dialogs.registerDialog(ui::IDD_DOWNLOAD_PROGRESS, &build<Ui::DownloadProgressDialog>);
    dialogs.registerDialog(ui::IDD_UPLOAD_PROGRESS, &build<Ui::UploadProgressDialog>);
}

}  // namespace zoedit::qt
