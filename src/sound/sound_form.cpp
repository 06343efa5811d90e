#include "sound/sound_form.h"

namespace kelmor {

TSoundForm::TSoundForm(Services& services, const PreferenceStore& preferences, QWidget* parent)
    : QWidget(parent, Qt::Window), services_(services), preferences_(preferences) {
    setObjectName(QStringLiteral("SoundForm"));
    setWindowTitle(QStringLiteral("Play/Record Sound"));
}

void TSoundForm::setListStyle(ListStyle) {}

} // namespace kelmor
