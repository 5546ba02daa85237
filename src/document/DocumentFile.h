#pragma once

// The document file: its format, the reader, the writer and where the
// pictures it names are found.
#include "document/DocumentFileFormat.h"
#include "document/DocumentPictures.h"
#include "document/DocumentReader.h"
#include "document/DocumentWriter.h"
