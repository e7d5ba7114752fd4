// Built with the protocol layer's view of the tree, where the server (a layer above) does not
// exist: the build of this file must fail on the include.
#include "server/connection.h"
