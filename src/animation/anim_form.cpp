#include "animation/anim_form.h"

namespace kelmor {

TAnimForm::TAnimForm(Services& services, QWidget* parent) : QDialog(parent), services_(services) {
    setObjectName(QStringLiteral("AnimForm"));
    setWindowTitle(QStringLiteral("Gifs Options"));
}

} // namespace kelmor
