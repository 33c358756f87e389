#pragma once

#include <QWidget>

// One tab of PageWebClient; Tag is its slot in the tab registry.
class TRzTabSheet : public QWidget
{
public:
    using QWidget::QWidget;
    int Tag = 0;
};
