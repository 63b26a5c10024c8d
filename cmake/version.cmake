# The project's version, in one place: the bridge reports it, the jars' manifests and module
# descriptors carry it, and the loader requires the bridge's to be the jar's.
set(TVJ_VERSION 0.1.0)
