#pragma once

#include "numeric/DecimalSeparator.h"
#include "platform/Clipboard.h"
#include "platform/DocumentOpener.h"
#include "platform/FileDialogs.h"
#include "platform/MessageSink.h"
#include "platform/ProcessorCount.h"
#include "platform/SeedSource.h"
#include "platform/SettingsStore.h"

/// The platform services the main window and its dialogs use. The application object
/// hands in the desktop's implementations; the tests hand in fakes, so that no message box
/// or file dialog waits for a user and no test writes the clipboard. Nothing is owned; every
/// service outlives the window.
struct DesktopServices {
    MessageSink& messages;
    FileDialogs& fileDialogs;
    Clipboard& clipboard;
    SettingsStore& settings;
    const ProcessorCount& processors;
    SeedSource& seeds;
    DocumentOpener& documents;
    /// The user's decimal separator, read once at start-up.
    DecimalSeparator separator;
};
