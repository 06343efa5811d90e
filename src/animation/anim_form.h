#pragma once

#include "ui/services.h"

#include <QDialog>

namespace kelmor {

// The "Gifs Options" dialog: loop count, frame delay and the reduction switches.
class TAnimForm : public QDialog {
    Q_OBJECT
public:
    explicit TAnimForm(Services& services, QWidget* parent = nullptr);

private:
    Services& services_;
};

} // namespace kelmor
