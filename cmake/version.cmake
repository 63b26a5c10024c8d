# The project's version, in one place: the bridge reports it, the jars' manifests and module
# descriptors carry it, and the loader requires the bridge's to be the jar's.
set(TVJ_VERSION 0.1.0)
# The Maven groupId of both artifacts (tarvexjni, tarvexjni-standin): the reversed name of
# tarvexjni.example, a domain under the top-level domain that RFC 2606 reserves and that is never
# delegated, so that the coordinates can be nobody's but this project's. They are meant for a
# team's own repository manager; a project that owns a domain would use it instead.
set(TVJ_MAVEN_GROUP example.tarvexjni)
# Where the project lives, for the POMs and the SBOMs: under tarvexjni.example as well.
set(TVJ_PROJECT_URL https://tarvexjni.example/)
set(TVJ_SCM_URL https://tarvexjni.example/git/tarvexjni)
set(TVJ_DEVELOPERS "The tarvexjni developers")
set(TVJ_DEVELOPERS_EMAIL dev@tarvexjni.example)
