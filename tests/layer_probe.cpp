// Built with one layer's view of the tree, where the header named by the build (of a layer
// above it) does not exist: the build of this file must fail on the include.
#include VELOTAM_UPWARD_HEADER
