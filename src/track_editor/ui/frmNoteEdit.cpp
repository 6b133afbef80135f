#include "track_editor/ui/frmNoteEdit.h"

namespace tonekit::ui {

struct frmNoteEdit::Controls {};

frmNoteEdit::frmNoteEdit(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Controls>()) {}
frmNoteEdit::~frmNoteEdit() = default;

void frmNoteEdit::Load() {}
void frmNoteEdit::cmdOk_Click() { Edit = true; accept(); }
void frmNoteEdit::cmdCancel_Click() { Edit = false; reject(); }

}  // namespace tonekit::ui
