#pragma once

class QSettings;

// What the device link needs from the object that owns it. The owner lives on the
// GUI thread; the link only calls it from there.
class DeviceOwner
{
public:
    virtual ~DeviceOwner() = default;
    // Settings object of the current profile, or null when there is none.
    virtual QSettings *currentProfileSettings() = 0;
    // Asks the UI to re-read the lighting settings.
    virtual void lightingChanged() = 0;
};
