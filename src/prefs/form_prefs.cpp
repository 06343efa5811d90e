#include "prefs/form_prefs.h"

namespace kelmor {

TFormPrefs::TFormPrefs(Services& services, PreferenceReactions& reactions, QWidget* parent)
    : QDialog(parent), services_(services), reactions_(reactions) {
    setObjectName(QStringLiteral("FormPrefs"));
    setWindowTitle(QStringLiteral("Options"));
}

} // namespace kelmor
