// The per-installation data folder ($XDG_DATA_HOME/Zabelle/Quintaro2/) and the
// read-only installation data the program ships.
#pragma once

#include <QString>
#include <QStringList>

namespace q2 {

// The data folder's path with a trailing "/".
QString DataFolderPath();

// Creates the data folder when missing, readable by its owner only (0700),
// and closes an existing one to other users; false when it cannot be created.
bool EnsureDataFolder();

// True when the existing data folder may be listed, read and written: a
// folder its owner closed is not one the program can keep anything in.
bool DataFolderUsable();

// The installation's data folder (list files, paper.cfg, postal data, sample
// book): beside an installed program, else in the source tree it was built
// from. Empty when neither exists.
QString InstallDataPath();

// Copies each of `relativeNames` from the installation data into the data
// folder when the data folder lacks it. Returns the names copied.
QStringList CopyMissingDefaults(const QStringList& relativeNames);

// The files the installation provides as first contents of a new data folder.
QStringList DefaultDataFiles();

}  // namespace q2
