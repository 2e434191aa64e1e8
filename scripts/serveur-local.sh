# Fonctions à sourcer : un nginx sur la boucle locale, lancé sous l'utilisateur
# courant, toute sa configuration dans un dossier temporaire.
#   demarrer_nginx RACINE DOSSIER_TRAVAIL   → NGINX_PORT, NGINX_PID ;
#   NGINX_DEBIT (ex. 2m) limite le débit de chaque réponse ;
#   journal des requêtes (statut, requête, plage) dans DOSSIER_TRAVAIL/acces.log
#   arreter_nginx

port_libre() {
  local p
  for _ in $(seq 1 50); do
    p=$((20000 + RANDOM % 30000))
    (exec 3<>"/dev/tcp/127.0.0.1/$p") 2>/dev/null || { echo "$p"; return 0; }
  done
  return 1
}

demarrer_nginx() {
  local racine=$1 travail=$2
  mkdir -p "$travail/temp"
  NGINX_PORT=$(port_libre)
  cat > "$travail/nginx.conf" <<CONF
daemon off;
master_process off;
worker_processes 1;
pid $travail/nginx.pid;
error_log $travail/error.log warn;
events { worker_connections 64; }
http {
  log_format plages '\$status "\$request" "\$http_range"';
  access_log $travail/acces.log plages;
  client_body_temp_path $travail/temp/body;
  proxy_temp_path $travail/temp/proxy;
  fastcgi_temp_path $travail/temp/fastcgi;
  uwsgi_temp_path $travail/temp/uwsgi;
  scgi_temp_path $travail/temp/scgi;
  keepalive_requests 100000;
  sendfile on;
  types { }
  default_type application/octet-stream;
  server {
    listen 127.0.0.1:$NGINX_PORT;
    root $racine;
    ${NGINX_DEBIT:+limit_rate $NGINX_DEBIT;}
  }
}
CONF
  /usr/sbin/nginx -p "$travail" -c "$travail/nginx.conf" &
  NGINX_PID=$!
  for _ in $(seq 1 100); do
    (exec 3<>"/dev/tcp/127.0.0.1/$NGINX_PORT") 2>/dev/null && return 0
    sleep 0.05
  done
  echo "nginx ne répond pas (voir $travail/error.log)" >&2
  return 1
}

arreter_nginx() {
  [ -n "${NGINX_PID:-}" ] && kill "$NGINX_PID" 2>/dev/null && wait "$NGINX_PID" 2>/dev/null
  NGINX_PID=
}
