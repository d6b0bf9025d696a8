#include "HelpText.h"

namespace {
std::function<void(const QString&)> sink;
}

void ShowHelpText(const QString& text)
{
    if (sink) sink(text);
}

void SetHelpTextSink(std::function<void(const QString&)> newSink) { sink = std::move(newSink); }
