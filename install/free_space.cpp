// The room on the destination's volume. Windows 95 OSR2 and NT 4.0 on tell
// the free space within the user's quota and beyond 2 GB; the first Windows
// 95 and NT 3.51 tell it only for the whole volume, in clusters, which is as
// good for an install of some 63 MB.
#include "install/free_space.h"
#include "install/file_table.h"
#include "install/payload_store.h"
#include "startup/path_text.h"
#include "startup/shared_state.h"
#include "startup/system_functions.h"

const DWORD AssumedClusterBytes = 4096;   // where the volume does not say
const ULONGLONG InstallSpaceMargin = 1024 * 1024;
const int MegabyteShift = 20;

int QueryFreeSpace(const char *folder, ULONGLONG *freeBytes, DWORD *clusterBytes)
{
    char root[PathBufferBytes];
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    int known = VolumeRootOf(folder, root, PathBufferBytes) &&
                GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters);
    DWORD cluster = sectorsPerCluster * bytesPerSector;
    *clusterBytes = known && cluster != 0 ? cluster : AssumedClusterBytes;
    *freeBytes = (ULONGLONG)freeClusters * *clusterBytes;
    ULARGE_INTEGER toCaller, total, onVolume;
    if (DiskGetFreeSpaceEx && DiskGetFreeSpaceEx(folder, &toCaller, &total, &onVolume)) {
        *freeBytes = toCaller.QuadPart;
        known = 1;
    }
    return known;
}

static ULONGLONG WholeClusters(unsigned long bytes, DWORD clusterBytes)
{
    return (ULONGLONG)((bytes + clusterBytes - 1) / clusterBytes) * clusterBytes;
}

ULONGLONG InstallBytesNeeded(DWORD clusterBytes)
{
    ULONGLONG needed = InstallSpaceMargin;
    for (int i = 0; i < FileTableRowCount; i++)
        if (FileTable[i].ResourceId)
            needed += WholeClusters(PayloadEntryInflatedBytes(AppInstance, FileTable[i].ResourceId), clusterBytes);
    return needed;
}

unsigned long MegabytesUp(ULONGLONG bytes)
{
    return (unsigned long)((bytes + (1u << MegabyteShift) - 1) >> MegabyteShift);
}

unsigned long MegabytesDown(ULONGLONG bytes)
{
    return (unsigned long)(bytes >> MegabyteShift);
}
