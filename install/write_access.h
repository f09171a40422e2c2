// Whether this user may write the destination, asked of the system's access
// control before anything is written.
#pragma once

// 1 when the install may make its files in the destination (or the
// destination in its parent) and replace the earlier installation's files;
// also where the system cannot tell, since the write itself then decides.
// On 0, refused holds the folder or file the user may not change.
int MayWriteDestination(const char *destination, char *refused);
