#pragma once

#include "ui/services.h"

#include <QWidget>

namespace kelmor {

enum class ListStyle;

// The "Play/Record Sound" window, shown without blocking the main window.
class TSoundForm : public QWidget {
    Q_OBJECT
public:
    explicit TSoundForm(Services& services, QWidget* parent = nullptr);

    void setListStyle(ListStyle style);

private:
    Services& services_;
};

} // namespace kelmor
