#pragma once

#include "prefs/preference_store.h"
#include "ui/list_style.h"
#include "ui/services.h"

#include <QWidget>

namespace kelmor {

// The "Play/Record Sound" window, shown without blocking the main window.
class TSoundForm : public QWidget {
    Q_OBJECT
public:
    TSoundForm(Services& services, const PreferenceStore& preferences, QWidget* parent = nullptr);

    void setListStyle(ListStyle style);

private:
    Services& services_;
    const PreferenceStore& preferences_;
};

} // namespace kelmor
