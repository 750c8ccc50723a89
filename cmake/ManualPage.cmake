# Builds zel.1 and zel.1.gz from the scdoc source (cmake -P, from cmake/Manual.cmake):
#   -DSCDOC=... -DGZIP=... -DSOURCE=zel.1.scd -DOUTPUT=zel.1
# The page is dated by its source's last change, not by the build, and gzip leaves out
# the name and time stamp, so that the same source always gives the same files; a
# SOURCE_DATE_EPOCH set by a package build is kept.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  file(TIMESTAMP ${SOURCE} changed "%s" UTC)
  set(ENV{SOURCE_DATE_EPOCH} ${changed})
endif()
execute_process(COMMAND ${SCDOC} INPUT_FILE ${SOURCE} OUTPUT_FILE ${OUTPUT}
  RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  file(REMOVE ${OUTPUT})
  message(FATAL_ERROR "scdoc could not read ${SOURCE}: ${errors}")
endif()
execute_process(COMMAND ${GZIP} -9 -n -c ${OUTPUT} OUTPUT_FILE ${OUTPUT}.gz
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "gzip could not compress ${OUTPUT}")
endif()
