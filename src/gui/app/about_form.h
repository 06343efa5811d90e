#pragma once

#include "ui/services.h"

#include <QDialog>

namespace kelmor {

// The About box: program icon, version and copyright, and the maker's web address.
class TAboutForm : public QDialog {
    Q_OBJECT
public:
    explicit TAboutForm(Services& services, QWidget* parent = nullptr);

private:
    Services& services_;
};

} // namespace kelmor
