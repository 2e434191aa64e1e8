# Refuse, dans les sources d'un dossier, une inclusion relative qui remonte ("../") :
# le compilateur chercherait d'abord à côté du fichier et passerait outre les racines
# d'inclusion des niveaux. Appel : cmake -DDOSSIER=... [-DTEMOIN=fichier] -P ce script.
file(GLOB fichiers ${DOSSIER}/*.h ${DOSSIER}/*.cpp)
set(fautes "")
foreach(f ${fichiers})
  file(STRINGS ${f} lignes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<][^\">]*\\.\\./")
  foreach(l ${lignes})
    string(STRIP "${l}" l)
    string(APPEND fautes "\n  ${f} : ${l}")
  endforeach()
endforeach()
if(fautes)
  message(FATAL_ERROR "Inclusion relative qui remonte d'un niveau :${fautes}")
endif()
if(TEMOIN)
  file(TOUCH ${TEMOIN})
endif()
