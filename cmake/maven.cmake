# The Maven side of a jar: its POM, made from a template with the project's coordinates
# (@TVJ_MAVEN_GROUP@, @TVJ_VERSION@) and what a repository asks of every project (@TVJ_POM_PROJECT@:
# url, licenses, scm, developers), and its sources jar, both beside the jar in TVJ_JAR_DIR as
# <artifact>.pom and <artifact>-sources.jar. scripts/release lays them out as a repository.
#   tvj_maven_artifact(<artifact> POM <template> ROOTS <folder>... SOURCES <file>...)
# Each source file goes into the sources jar by its path below the first root that holds it.
string(CONCAT TVJ_POM_PROJECT
  "<url>${TVJ_PROJECT_URL}</url>\n"
  "  <licenses>\n"
  "    <license>\n"
  "      <name>Apache-2.0</name>\n"
  "      <url>https://www.apache.org/licenses/LICENSE-2.0.txt</url>\n"
  "      <distribution>repo</distribution>\n"
  "    </license>\n"
  "  </licenses>\n"
  "  <developers>\n"
  "    <developer>\n"
  "      <name>${TVJ_DEVELOPERS}</name>\n"
  "      <email>${TVJ_DEVELOPERS_EMAIL}</email>\n"
  "      <organizationUrl>${TVJ_PROJECT_URL}</organizationUrl>\n"
  "    </developer>\n"
  "  </developers>\n"
  "  <scm>\n"
  "    <connection>scm:git:${TVJ_SCM_URL}</connection>\n"
  "    <developerConnection>scm:git:${TVJ_SCM_URL}</developerConnection>\n"
  "    <url>${TVJ_SCM_URL}</url>\n"
  "  </scm>")

function(tvj_maven_artifact artifact)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "POM" "ROOTS;SOURCES")
  configure_file(${arg_POM} ${TVJ_JAR_DIR}/${artifact}.pom @ONLY)
  set(entries "")
  foreach(file IN LISTS arg_SOURCES)
    set(found "")
    foreach(root IN LISTS arg_ROOTS)
      cmake_path(IS_PREFIX root ${file} NORMALIZE inside)
      if(inside AND NOT found)
        cmake_path(RELATIVE_PATH file BASE_DIRECTORY ${root} OUTPUT_VARIABLE relative)
        list(APPEND entries -C ${root} ${relative})
        set(found TRUE)
      endif()
    endforeach()
    if(NOT found)
      message(FATAL_ERROR "${file} is under none of ${arg_ROOTS}")
    endif()
  endforeach()
  set(jar ${TVJ_JAR_DIR}/${artifact}-sources.jar)
  add_custom_command(OUTPUT ${jar}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${jar}
    COMMAND ${Java_JAR_EXECUTABLE} --create --no-manifest --file ${jar} ${entries}
    DEPENDS ${arg_SOURCES}
    COMMENT "Packing ${artifact}-sources.jar"
    VERBATIM)
  string(REPLACE "-" "_" target ${artifact})
  add_custom_target(${target}_sources ALL DEPENDS ${jar})
endfunction()
