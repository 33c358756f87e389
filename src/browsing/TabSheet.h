#pragma once

#include <QVBoxLayout>
#include <QWidget>

// One tab of PageWebClient; Tag is its slot in the tab registry. What it
// holds fills it.
class TRzTabSheet : public QWidget
{
public:
    explicit TRzTabSheet(QWidget* parent) : QWidget(parent)
    {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
    }
    int Tag = 0;
};
