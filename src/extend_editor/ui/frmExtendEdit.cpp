#include "extend_editor/ui/frmExtendEdit.h"

namespace tonekit::ui {

struct frmExtendEdit::Controls {};

frmExtendEdit::frmExtendEdit(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Controls>()) {}
frmExtendEdit::~frmExtendEdit() = default;

void frmExtendEdit::Load() {}
void frmExtendEdit::cmdOk_Click() { Edit = true; accept(); }
void frmExtendEdit::cmdCancel_Click() { Edit = false; reject(); }

}  // namespace tonekit::ui
