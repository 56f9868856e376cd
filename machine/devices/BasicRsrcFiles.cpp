// The drive lamps and file slots of the devices.

#include "machine/devices/BasicRsrc.h"

void TBasicRsrc::SetFDDAccessLampByDriveIndex(long drive)
{
    DrvLamps.Request(drive, Owner().Lamps);
}

void TBasicRsrc::SetFDDAccessLampByFileDesc(long n)
{
    if (n < 1 || n > FILE_COUNT || !OpenFiles[n - 1].IsOpen()) return;
    SetFDDAccessLampByDriveIndex(OpenFiles[n - 1].DrvIdx());
}

void TBasicRsrc::CloseAllFiles()
{
    for (TKivoFile& file : OpenFiles) file.Unset();
}
